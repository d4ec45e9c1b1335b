// CParticle is plain data: its defaults are written where it is declared.
#include "renderer/Classes/CParticle.h"
