#pragma once

#include "renderer/show/show.h"

namespace kestrune {

// The show's frame at show time t, drawn from the show's own objects and
// timeline in the show's own order, with the screen overlay optional. Only a
// benchmark needs this: it tells what the overlay would cost in a real frame
// after the fade-in, where the show itself leaves it out. Like the show's Frame it
// expects the buffers cleared and the modelview matrix at the identity.
void DrawShowReplica(Show& show, float t, bool withOverlay);

} // namespace kestrune
