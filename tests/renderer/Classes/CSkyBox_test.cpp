// The sky box is read back from OpenGL: its faces in feedback mode, and the
// texture each direction shows by rendering from inside the box.

#include "renderer/Classes/CSkyBox.h"

#include "tests/renderer/Classes/gl_census.h"
#include "tests/support/offscreen_gl.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace kestrune::test {
namespace {

struct Corner {
    float s, t, x, y, z;
};

// The faces in drawing order, for a cube with half edge h and overlap e.
std::vector<std::vector<Corner>> ExpectedFaces(float h, float e) {
    return {
        {{0, 0, -e, -e, h}, {1, 0, e, -e, h}, {1, 1, e, e, h}, {0, 1, -e, e, h}},
        {{1, 0, -e, -e, -h}, {1, 1, -e, e, -h}, {0, 1, e, e, -h}, {0, 0, e, -e, -h}},
        {{1, 0, -e, h, -e}, {1, 1, -e, h, e}, {0, 1, e, h, e}, {0, 0, e, h, -e}},
        {{1, 1, -e, -h, -e}, {0, 1, e, -h, -e}, {0, 0, e, -h, e}, {1, 0, -e, -h, e}},
        {{1, 0, h, -e, -e}, {1, 1, h, e, -e}, {0, 1, h, e, e}, {0, 0, h, -e, e}},
        {{0, 0, -h, -e, -e}, {1, 0, -h, -e, e}, {1, 1, -h, e, e}, {0, 1, -h, e, -e}},
    };
}

// Groups the captured primitives into the six faces: a quad comes back as one
// polygon of four vertices or as two triangles.
std::vector<std::vector<FeedbackVertex>> FacesOf(const FeedbackCapture& capture) {
    std::vector<std::vector<FeedbackVertex>> faces;
    const std::size_t perFace = capture.polygons.size() / 6;
    EXPECT_EQ(capture.polygons.size() % 6, 0u);
    for (std::size_t at = 0; perFace > 0 && at + perFace <= capture.polygons.size();
         at += perFace) {
        std::vector<FeedbackVertex> face;
        for (std::size_t i = at; i < at + perFace; ++i) {
            face.insert(face.end(), capture.polygons[i].begin(), capture.polygons[i].end());
        }
        faces.push_back(face);
    }
    return faces;
}

// Every vertex of a face must be one of its four corners, position and
// texture coordinate together, and each corner must be present.
void ExpectFace(const std::vector<FeedbackVertex>& face, const std::vector<Corner>& corners,
                float dx, float dy, float dz) {
    std::vector<bool> seen(corners.size(), false);
    for (const FeedbackVertex& v : face) {
        bool matched = false;
        for (std::size_t c = 0; c < corners.size(); ++c) {
            const Corner& k = corners[c];
            if (std::abs(v.x - (k.x + dx)) < 1e-4f && std::abs(v.y - (k.y + dy)) < 1e-4f &&
                std::abs(v.z - (k.z + dz)) < 1e-4f && v.s == k.s && v.t == k.t) {
                seen[c] = matched = true;
            }
        }
        EXPECT_TRUE(matched) << "stray vertex " << v.x << " " << v.y << " " << v.z << " (" << v.s
                             << ", " << v.t << ")";
    }
    for (std::size_t c = 0; c < corners.size(); ++c) {
        EXPECT_TRUE(seen[c]) << "corner " << c << " missing";
    }
}

using SkyBox = GlTest;

TEST_F(SkyBox, SizeTwoEmitsTheSixFacesInOrderSlightlyLargerThanTheCube) {
    CSkyBox box;
    box.SetSize(2.0f);
    box.Build();
    ASSERT_TRUE(box.bBuilt);
    const auto faces = FacesOf(CaptureFeedback(2.0f, [&] { box.Draw(); }));
    ASSERT_EQ(faces.size(), 6u);
    const auto expected = ExpectedFaces(1.0f, 1.005f);
    for (std::size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(testing::Message() << "face " << i + 1);
        ExpectFace(faces[i], expected[i], 0.0f, 0.0f, 0.0f);
    }
}

TEST_F(SkyBox, SizeOneFirstFaceReachesTheOverlapBeyondTheHalfEdge) {
    CSkyBox box;
    box.SetSize(1.0f);
    box.Build();
    const auto faces = FacesOf(CaptureFeedback(1.0f, [&] { box.Draw(); }));
    ASSERT_EQ(faces.size(), 6u);
    ExpectFace(faces[0], ExpectedFaces(0.5f, 0.5025f)[0], 0.0f, 0.0f, 0.0f);
}

TEST_F(SkyBox, FollowsThePositionGivenBeforeEachDrawAndRestoresDepthWrites) {
    CSkyBox box;
    box.SetSize(1.0f);
    box.Build();
    const auto expected = ExpectedFaces(0.5f, 0.5025f);

    box.SetPosition(0.25f, -0.5f, 0.75f);
    auto faces = FacesOf(CaptureFeedback(2.0f, [&] { box.Draw(); }));
    ASSERT_EQ(faces.size(), 6u);
    ExpectFace(faces[3], expected[3], 0.25f, -0.5f, 0.75f);

    const float eye[3] = {-1.0f, 0.125f, 0.5f};
    box.CopyPosition(eye);
    faces = FacesOf(CaptureFeedback(2.0f, [&] { box.Draw(); }));
    ASSERT_EQ(faces.size(), 6u);
    ExpectFace(faces[5], expected[5], -1.0f, 0.125f, 0.5f);

    const GLint matrices = StackDepth(GL_MODELVIEW_STACK_DEPTH);
    box.Draw();
    GLboolean mask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(mask, GL_TRUE);
    EXPECT_EQ(StackDepth(GL_MODELVIEW_STACK_DEPTH), matrices);
}

TEST_F(SkyBox, EachSlotCoversItsFaceSeenFromInside) {
    const GLubyte colours[6][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},
                                   {255, 255, 0}, {0, 255, 255}, {255, 0, 255}};
    CSkyBox box;
    box.SetSize(2.0f);
    for (unsigned slot = 0; slot < 6; ++slot) {
        glGenTextures(1, &box.uiFaceTexture[slot]);
        glBindTexture(GL_TEXTURE_2D, box.uiFaceTexture[slot]);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, colours[slot]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }
    box.Build();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90.0, 1.0, 0.1, 10.0);
    glMatrixMode(GL_MODELVIEW);

    // Slot order: top, bottom, +z, -z, -x, +x.
    const double looks[6][6] = {
        {0, 1, 0, 0, 0, 1},  {0, -1, 0, 0, 0, 1}, {0, 0, 1, 0, 1, 0},
        {0, 0, -1, 0, 1, 0}, {-1, 0, 0, 0, 1, 0}, {1, 0, 0, 0, 1, 0},
    };
    for (unsigned slot = 0; slot < 6; ++slot) {
        SCOPED_TRACE(testing::Message() << "slot " << slot);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        const double* l = looks[slot];
        gluLookAt(0, 0, 0, l[0], l[1], l[2], l[3], l[4], l[5]);
        box.Draw();
        const auto pixel = m_gl.PixelAt(32, 32);
        EXPECT_EQ(pixel.r, colours[slot][0]);
        EXPECT_EQ(pixel.g, colours[slot][1]);
        EXPECT_EQ(pixel.b, colours[slot][2]);
    }
}

TEST_F(SkyBox, BuildingTwiceLeavesOneListAndDrawingUnbuiltDrawsNothing) {
    const auto before = LiveLists();
    {
        CSkyBox box;
        EXPECT_TRUE(CaptureFeedback(2.0f, [&] { box.Draw(); }).polygons.empty());
        box.SetSize(2.0f);
        box.Build();
        box.Build();
        EXPECT_EQ(LiveLists().size(), before.size() + 1);
        EXPECT_TRUE(glIsList(box.uiList));
    }
    EXPECT_EQ(LiveLists(), before);
}

// A 2 x 2 24-bit BMP, bottom row first, rows padded to four bytes.
std::string WriteTinyBmp() {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("kestrune_skybox_" + std::to_string(::getpid()) + ".bmp"))
                                 .string();
    std::vector<unsigned char> file = {'B',  'M',  70, 0, 0, 0, 0,  0, 0, 0, 54,   0,    0, 0,
                                       40,   0,    0,  0, 2, 0, 0,  0, 2, 0, 0,    0,    1, 0,
                                       24,   0,    0,  0, 0, 0, 16, 0, 0, 0, 0x13, 0x0B, 0, 0,
                                       0x13, 0x0B, 0,  0, 0, 0, 0,  0, 0, 0, 0,    0};
    const unsigned char rows[16] = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
    file.insert(file.end(), rows, rows + 16);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
    return path;
}

TEST_F(SkyBox, LoadFaceTextureFillsOnlySlotsZeroToFiveFromReadableFiles) {
    const std::string path = WriteTinyBmp();
    CSkyBox box;
    EXPECT_EQ(box.LoadFaceTexture(6, path.c_str()), 0);
    EXPECT_EQ(box.LoadFaceTexture(0, "/nonexistent/kestrune/none.bmp"), 0);
    EXPECT_EQ(box.uiFaceTexture[0], 0u);

    EXPECT_EQ(box.LoadFaceTexture(5, path.c_str()), 1);
    ASSERT_NE(box.uiFaceTexture[5], 0u);
    EXPECT_TRUE(glIsTexture(box.uiFaceTexture[5]));
    glBindTexture(GL_TEXTURE_2D, box.uiFaceTexture[5]);
    GLint wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP);

    // A failed load keeps what the slot had.
    const GLuint kept = box.uiFaceTexture[5];
    EXPECT_EQ(box.LoadFaceTexture(5, "/nonexistent/kestrune/none.bmp"), 0);
    EXPECT_EQ(box.uiFaceTexture[5], kept);
    std::remove(path.c_str());
}

} // namespace
} // namespace kestrune::test
