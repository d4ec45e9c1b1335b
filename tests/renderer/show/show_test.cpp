// The whole show in a real offscreen context, with an injected clock: what
// each moment draws, read back from OpenGL.

#include "renderer/show/show.h"

#include "common/kestrune_names.h"
#include "host/pictures/texture_pictures.h"
#include "renderer/Classes/CRandom.h"
#include "renderer/resources/message_sink.h"
#include "renderer/resources/texture.h"
#include "renderer/shell/gl_setup.h"
#include "tests/renderer/Classes/gl_census.h"
#include "tests/support/offscreen_gl.h"
#include "tests/support/temporary_folder.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace kestrune {
namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 192;

class CapturingSink final : public MessageSink {
public:
    void ShowMessage(const std::string& text, const std::string& caption) override {
        messages.push_back(caption + ": " + text);
    }
    std::vector<std::string> messages;
};

// A texture folder of the test's own, with the saver's pictures in it unless
// the test says otherwise.
struct TextureFolder : test::TempFolder {
    explicit TextureFolder(bool withPictures) : TempFolder("kestrune-show"), path(Path()) {
        if (withPictures) {
            SaveTexturePictures(path);
        }
    }
    std::string path;
};

class ShowTest : public test::GlTest {
protected:
    ShowTest() : test::GlTest(kWidth, kHeight) {}

    void SetUp() override {
        test::GlTest::SetUp();
        SetMessageSink(&m_sink);
    }
    void TearDown() override { SetMessageSink(nullptr); }

    // A show on the test's clock, initialised as the shell does it, with the
    // random generator seeded with 1 so that every run draws the same.
    std::unique_ptr<Show> MakeShow(const std::string& folder) {
        auto show = std::make_unique<Show>([this] { return m_now; }, folder);
        CRandom::SeedWith(1);
        Resize(kWidth, kHeight);
        EXPECT_TRUE(InitialiseOpenGL(*show, m_gl));
        return show;
    }

    // One frame at this tick count.
    void FrameAt(Show& show, TickCount tick) {
        m_now = tick;
        DrawFrame(show);
    }

    // The first frame at tick 0 (the show clock starts there), then frames
    // every 1/60 s ending at `endMs`, as a viewer's run would reach it.
    void RunTo(Show& show, double endMs, int frames) {
        FrameAt(show, 0);
        for (int i = frames - 1; i >= 0; --i) {
            FrameAt(show, static_cast<TickCount>(std::max(0.0, endMs - i * 1000.0 / 60.0)));
        }
    }

    TickCount m_now = 0;
    CapturingSink m_sink;
};

struct ColourSum {
    double r = 0, g = 0, b = 0;
};

ColourSum SumAround(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, int cx,
                    int cy, int radius) {
    ColourSum sum;
    for (int y = std::max(0, cy - radius); y < std::min(kHeight, cy + radius + 1); ++y) {
        for (int x = std::max(0, cx - radius); x < std::min(kWidth, cx + radius + 1); ++x) {
            const std::size_t at = (static_cast<std::size_t>(y) * kWidth + x) * 3;
            sum.r += std::max(0, a[at] - b[at]);
            sum.g += std::max(0, a[at + 1] - b[at + 1]);
            sum.b += std::max(0, a[at + 2] - b[at + 2]);
        }
    }
    return sum;
}

double MeanLuma(const std::vector<std::uint8_t>& rgb) {
    double sum = 0;
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        sum += 0.299 * rgb[i] + 0.587 * rgb[i + 1] + 0.114 * rgb[i + 2];
    }
    return sum / static_cast<double>(rgb.size() / 3);
}

TEST_F(ShowTest, FirstFrameIsBlackWithTheEmittersAtTheCentreAndNoFigure) {
    TextureFolder folder(true);
    auto show = MakeShow(folder.path);
    for (auto& figure : show->figures) {
        figure.fColour[3] = 7.0f; // a figure drawn would have its alpha set
    }
    FrameAt(*show, 123456);
    EXPECT_EQ(show->Time(), 0.0f);
    for (std::uint8_t byte : m_gl.ReadRgb()) {
        ASSERT_EQ(byte, 0) << "the first frame must be black";
    }
    for (const auto& figure : show->figures) {
        EXPECT_EQ(figure.fColour[3], 7.0f);
    }
    for (const auto& emitter : show->emitters) {
        EXPECT_EQ(emitter.fPosition[0], 0.0f);
        EXPECT_EQ(emitter.fPosition[1], 0.0f);
        EXPECT_EQ(emitter.fPosition[2], 0.0f);
    }
    EXPECT_TRUE(m_sink.messages.empty());
}

TEST_F(ShowTest, FiguresDrawnFollowTheScheduleOfTheClock) {
    TextureFolder folder(true);
    auto show = MakeShow(folder.path);
    FrameAt(*show, 1000);
    // The alpha each figure was given in one frame; 7 for a figure not drawn.
    auto expectAlphasAt = [&](TickCount tick, std::vector<float> expected) {
        for (auto& figure : show->figures) {
            figure.fColour[3] = 7.0f;
        }
        FrameAt(*show, tick);
        for (int i = 0; i < Show::kFigureCount; ++i) {
            EXPECT_NEAR(show->figures[i].fColour[3], expected[i], 1e-5)
                << "figure " << i << " at " << tick;
        }
    };
    expectAlphasAt(1000 + 35000, {0.5f, 0.5f, 7.0f, 7.0f});
    expectAlphasAt(1000 + 80000, {7.0f, 7.0f, 7.0f, 1.0f});
    expectAlphasAt(1000 + 500000, {7.0f, 7.0f, 7.0f, 1.0f});
    EXPECT_FLOAT_EQ(show->Time(), 5.0f);
    // The camera turned with t: azimuth 15.7 t at distance 1.5 about the origin.
    EXPECT_NEAR(std::hypot(show->camera.fEye[0], show->camera.fEye[1], show->camera.fEye[2]), 1.5,
                1e-5);
    EXPECT_FLOAT_EQ(show->camera.fAzimuth, 5.0f * 15.7f);
}

TEST_F(ShowTest, ShowTimeIsRightAcrossAWrapOfTheTickCount) {
    TextureFolder folder(false);
    auto show = MakeShow(folder.path);
    const TickCount start = std::numeric_limits<TickCount>::max() - 255;
    FrameAt(*show, start);
    FrameAt(*show, 256);
    EXPECT_FLOAT_EQ(show->Time(), 512.0f / 100000.0f);
    // Emitters wander with amplitude 5 t while t < 0.1.
    const float amplitude = 5.0f * show->Time();
    EXPECT_NEAR(show->emitters[1].fPosition[0], amplitude * std::sin(show->Time() * 87.5f), 1e-6);
}

TEST_F(ShowTest, EmittersGetEveryMillisecondUpToTheLastBeforeTheTickCountWraps) {
    TextureFolder folder(false);
    auto show = MakeShow(folder.path);
    CParticleEmitter& emitter = show->emitters[0];
    emitter.bColourCycling = true;
    FrameAt(*show, 1);
    for (int i = 0; i < emitter.nParticles; ++i) {
        emitter.pcParticles[i].fLife = 0.001f; // every particle is reborn next frame
    }
    FrameAt(*show, 0); // 2^32 - 1 ms after the first frame
    // Reborn in second 4,294,967 of the show: colour 4,294,967 mod 12 = 11.
    for (int i = 0; i < emitter.nParticles; ++i) {
        for (int c = 0; c < 3; ++c) {
            ASSERT_EQ(emitter.pcParticles[i].fColour[c], emitter.fColourTable[11][c])
                << "particle " << i;
        }
    }
}

TEST_F(ShowTest, FadeInScalesTheFinishedPictureByTTimesTwenty) {
    TextureFolder folder(true);
    // The same run twice: once as it is, once with the overlay left out,
    // which is the picture the overlay fades.
    auto runTo = [&](bool withOverlay) {
        auto show = MakeShow(folder.path);
        if (!withOverlay) {
            show->overlay.bBuilt = false;
        }
        RunTo(*show, 3000.0, 30); // t = 0.03, alpha 0.6
        return m_gl.ReadRgb();
    };
    const auto faded = runTo(true);
    const auto plain = runTo(false);
    ASSERT_EQ(faded.size(), plain.size());
    int lit = 0;
    for (std::size_t i = 0; i < faded.size(); ++i) {
        ASSERT_NEAR(faded[i], plain[i] * 0.6, 1.5) << "byte " << i;
        lit += plain[i] > 40;
    }
    EXPECT_GT(lit, 100) << "the scene behind the fade must not be black";
}

TEST_F(ShowTest, AfterTheFadeInTheOverlayIsLeftOutOnlyWhereItChangesNothing) {
    TextureFolder folder(true);
    auto show = MakeShow(folder.path);
    RunTo(*show, 25000.0, 5);
    // The host's black pixel at alpha 1: drawing the overlay now, over the
    // finished frame, changes no pixel, so leaving it out loses nothing.
    const auto frame = m_gl.ReadRgb();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    show->overlay.Draw();
    EXPECT_EQ(m_gl.ReadRgb(), frame);

    // A grey overlay picture is not neutral: it still lightens every frame.
    TextureFolder grey(true);
    std::ofstream(TextureFilePath(grey.path, 1), std::ios::binary | std::ios::trunc)
        << std::string("BM\x3a\0\0\0\0\0\0\0\x36\0\0\0"
                       "\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0\0\0\0\0"
                       "\x04\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0"
                       "\x40\x40\x40\0",
                       58);
    auto lit = MakeShow(grey.path);
    RunTo(*lit, 25000.0, 5);
    const auto withGrey = m_gl.ReadRgb();
    int lighter = 0;
    for (std::size_t i = 0; i < withGrey.size(); ++i) {
        lighter += withGrey[i] >= 64;
    }
    EXPECT_EQ(lighter, static_cast<int>(withGrey.size())) << "grey overlay not drawn";
    EXPECT_TRUE(m_sink.messages.empty());
}

TEST_F(ShowTest, SkyBoxTexturesShowBehindTheSceneAndCoverTheWholeScreen) {
    TextureFolder withPictures(true);
    auto show = MakeShow(withPictures.path);
    RunTo(*show, 25000.0, 10);
    const auto textured = m_gl.ReadRgb();
    ColourSum sum;
    for (std::size_t i = 0; i < textured.size(); i += 3) {
        sum.r += textured[i];
        sum.g += textured[i + 1];
        sum.b += textured[i + 2];
    }
    // A dark star sky with a blue cast, not the white of untextured faces.
    EXPECT_LT(MeanLuma(textured), 100.0);
    EXPECT_GT(MeanLuma(textured), 3.0);
    EXPECT_GT(sum.b, sum.r);
    EXPECT_TRUE(m_sink.messages.empty());

    // The show has the shell leave its colour buffer uncleared, since the box
    // paints every pixel: from any of the camera's places, nothing of a
    // colour put there before the frame is left.
    ASSERT_TRUE(show->PaintsEveryPixel());
    for (TickCount tick = 10000; tick <= 100000; tick += 7500) {
        glClearColor(1.0f / 255.0f, 254.0f / 255.0f, 3.0f / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
        FrameAt(*show, tick);
        const auto frame = m_gl.ReadRgb();
        for (std::size_t i = 0; i < frame.size(); i += 3) {
            ASSERT_FALSE(frame[i] == 1 && frame[i + 1] == 254 && frame[i + 2] == 3)
                << "pixel " << i / 3 << " left as it was at tick " << tick;
        }
    }
}

TEST_F(ShowTest, MissingTextureFilesAreSilentAndTheShowFadesInUntextured) {
    TextureFolder empty(false);
    auto show = MakeShow(empty.path);
    RunTo(*show, 2500.0, 30); // t = 0.025, alpha 0.5
    EXPECT_TRUE(m_sink.messages.empty());
    // The overlay fades with a black texel of its own, as the file gives it.
    EXPECT_TRUE(TextureIsBlack(show->overlayTexture));
    EXPECT_EQ(show->emitterTexture, 0u);
    EXPECT_EQ(show->figureTextureA, 0u);
    // Halfway through the fade-in the white of the untextured sky box is
    // half as bright: faded from black, not washed out to white.
    EXPECT_NEAR(MeanLuma(m_gl.ReadRgb()), 0.5 * 255.0, 4.0);
    FrameAt(*show, 25000);
    // Untextured sky box faces are plain white.
    EXPECT_GT(MeanLuma(m_gl.ReadRgb()), 200.0);
}

TEST_F(ShowTest, WithoutAReadableOverlayFileTheShowLooksAsWithIt) {
    // The picture halfway through the fade-in and after it.
    const auto picturesWith = [&](const std::string& folder) {
        auto show = MakeShow(folder);
        RunTo(*show, 2500.0, 30);
        auto fading = m_gl.ReadRgb();
        FrameAt(*show, 25000);
        return std::make_pair(fading, m_gl.ReadRgb());
    };
    TextureFolder complete(true);
    const auto expected = picturesWith(complete.path);

    TextureFolder missing(true);
    std::filesystem::remove(TextureFilePath(missing.path, 1));
    EXPECT_TRUE(picturesWith(missing.path) == expected) << "overlay file missing";
    EXPECT_TRUE(m_sink.messages.empty());

    TextureFolder corrupt(true);
    std::ofstream(TextureFilePath(corrupt.path, 1), std::ios::binary | std::ios::trunc)
        << std::string("BM\x20\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x6c\x00\x00\x00", 18)
        << std::string(200, '\0');
    EXPECT_TRUE(picturesWith(corrupt.path) == expected) << "overlay file unreadable";
    EXPECT_EQ(m_sink.messages, (std::vector<std::string>{"Error: Unknown DIB file format."}));
}

TEST_F(ShowTest, ReleaseFreesEveryOpenGlObjectOnceWhileTheContextIsCurrent) {
    TextureFolder folder(true);
    auto show = MakeShow(folder.path);
    RunTo(*show, 25000.0, 3);
    const std::set<GLuint> lists = test::LiveLists();
    const std::set<GLuint> textures = test::LiveTextures();
    ASSERT_FALSE(lists.empty());
    ASSERT_FALSE(textures.empty());

    show->ReleaseGlObjects();
    EXPECT_EQ(test::LiveLists(), std::set<GLuint>{});
    EXPECT_EQ(test::LiveTextures(), std::set<GLuint>{});
    FrameAt(*show, 26000); // a frame after the release draws nothing and fails nothing
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // The names are free again, and someone else may take them: the show's
    // destructors must not delete them a second time.
    for (const GLuint name : lists) {
        glNewList(name, GL_COMPILE);
        glEndList();
    }
    for (const GLuint name : textures) {
        glBindTexture(GL_TEXTURE_2D, name);
    }
    show.reset();
    EXPECT_EQ(test::LiveLists(), lists);
    EXPECT_EQ(test::LiveTextures(), textures);
}

TEST_F(ShowTest, ACorruptFileGivesTheLoadersMessageAndTheShowGoesOn) {
    TextureFolder folder(true);
    std::ofstream(TextureFilePath(folder.path, 2), std::ios::binary | std::ios::trunc)
        << std::string("BM\x20\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x6c\x00\x00\x00", 18)
        << std::string(200, '\0');
    auto show = MakeShow(folder.path);
    ASSERT_EQ(m_sink.messages, (std::vector<std::string>{"Error: Unknown DIB file format."}));
    EXPECT_EQ(show->emitterTexture, 0u);
    EXPECT_NE(show->overlayTexture, 0u);
    RunTo(*show, 25000.0, 5);
    EXPECT_GT(MeanLuma(m_gl.ReadRgb()), 3.0);
}

TEST_F(ShowTest, EachEmitterShowsItsColourWhereItIs) {
    TextureFolder folder(true);
    // Late enough for the full fade-in, early enough that no figure hides
    // a spark.
    constexpr double kEndMs = 8000.0;
    auto runTo = [&](bool withEmitters, Show** kept) {
        auto show = MakeShow(folder.path);
        if (!withEmitters) {
            for (auto& emitter : show->emitters) {
                emitter.bBuilt = false;
            }
        }
        RunTo(*show, kEndMs, 60);
        auto pixels = m_gl.ReadRgb();
        if (kept) {
            *kept = show.release();
        }
        return pixels;
    };
    Show* lastShow = nullptr;
    const auto with = runTo(true, &lastShow);
    std::unique_ptr<Show> show(lastShow);
    const auto without = runTo(false, nullptr);

    // Where each emitter is on the screen: its position under the camera's
    // view and the renderer's projection.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const CCamera& camera = show->camera;
    gluLookAt(camera.fEye[0], camera.fEye[1], camera.fEye[2],
              camera.fEye[0] + camera.cDirection.GetX(), camera.fEye[1] + camera.cDirection.GetY(),
              camera.fEye[2] + camera.cDirection.GetZ(), camera.cUp.GetX(), camera.cUp.GetY(),
              camera.cUp.GetZ());
    GLdouble modelview[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glLoadIdentity();

    const char* names[] = {"red", "green", "blue", "yellow"};
    for (int i = 0; i < Show::kEmitterCount; ++i) {
        const float* p = show->emitters[i].fPosition;
        GLdouble x = 0, y = 0, z = 0;
        ASSERT_TRUE(gluProject(p[0], p[1], p[2], modelview, projection, viewport, &x, &y, &z));
        SCOPED_TRACE(names[i]);
        ASSERT_TRUE(x > 8 && x < kWidth - 8 && y > 8 && y < kHeight - 8 && z < 1.0)
            << "emitter off screen at " << x << ", " << y;
        const ColourSum sum = SumAround(with, without, int(x), int(y), 8);
        const double total = sum.r + sum.g + sum.b;
        ASSERT_GT(total, 40.0) << "no sparks where the emitter is";
        const double r = sum.r / total, g = sum.g / total, b = sum.b / total;
        switch (i) {
        case 0:
            EXPECT_GT(r, 0.8);
            break;
        case 1:
            EXPECT_GT(g, 0.8);
            break;
        case 2:
            EXPECT_GT(b, 0.8);
            break;
        case 3:
            EXPECT_GT(r + g, 0.85) << r << " " << g;
            break;
        }
    }
}

} // namespace
} // namespace kestrune
