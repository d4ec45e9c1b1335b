// The text side of the device layer: command words, disc positions in the
// three time formats, and the table of error texts.

#include "host/music/cd_positions.h"
#include "host/music/mci_command_parser.h"
#include "host/music/mci_errors.h"

#include <gtest/gtest.h>

namespace kestrune::mci {
namespace {

TEST(MciCommandParser, SplitsWordsAndQuotedNames) {
    ParsedCommand command;
    ASSERT_EQ(ParseCommand("  OPEN \"/my music/a.mp3\"\ttype MPEGVideo Alias MP3Play ", command),
              kOk);
    EXPECT_EQ(command.verb, "open");
    EXPECT_EQ(command.device.text, "/my music/a.mp3");
    EXPECT_TRUE(command.device.quoted);
    ASSERT_EQ(command.parameters.size(), 4u);
    EXPECT_EQ(command.parameters[3].text, "MP3Play");

    ParameterReader reader(command.parameters);
    EXPECT_FALSE(reader.Take({"alias"}));
    EXPECT_TRUE(reader.Take({"type"}));
    std::string value;
    EXPECT_TRUE(reader.TakeValue(value));
    EXPECT_EQ(value, "MPEGVideo");
    EXPECT_TRUE(reader.Take({"alias"})) << "the command says \"Alias\"";
    EXPECT_TRUE(reader.TakeValue(value));
    EXPECT_TRUE(reader.AtEnd());

    ASSERT_EQ(ParseCommand("status cdaudio Number Of Tracks", command), kOk);
    ParameterReader tracks(command.parameters);
    EXPECT_FALSE(tracks.Take({"number", "of", "track"}));
    EXPECT_TRUE(tracks.Take({"number", "of", "tracks"}));

    // A quoted word is a name, never a keyword.
    ASSERT_EQ(ParseCommand("play x \"from\" 3", command), kOk);
    EXPECT_FALSE(ParameterReader(command.parameters).Take({"from"}));
    ASSERT_EQ(ParseCommand("open \"\" type cdaudio", command), kOk);
    EXPECT_EQ(command.device.text, "");
}

TEST(MciCommandParser, RefusesBrokenCommands) {
    ParsedCommand command;
    EXPECT_EQ(ParseCommand("", command), kMissingCommandString);
    EXPECT_EQ(ParseCommand(" \t ", command), kMissingCommandString);
    EXPECT_EQ(ParseCommand("close", command), kMissingDeviceName);
    EXPECT_EQ(command.verb, "close");
    EXPECT_EQ(ParseCommand("open \"a.mp3 type MPEGVideo", command), kNoClosingQuote);
    // A double quote inside a name closes it early: what follows is refused.
    EXPECT_EQ(ParseCommand("open \"a\"b.mp3\" type MPEGVideo Alias MP3Play", command),
              kExtraCharacters);
    EXPECT_EQ(ParseCommand("open a\"b type MPEGVideo", command), kExtraCharacters);
    EXPECT_EQ(ParseCommand("\"open\" cdaudio", command), kUnrecognizedCommand);
}

// Three tracks of 40, 30 and 50 sectors, and one with a data track between.
CdToc ThreeTracks() {
    return CdToc{{{1, 0, true}, {2, 40, true}, {3, 70, true}}, 120};
}

TEST(CdPositions, FormatsInEachTimeFormat) {
    const CdToc toc = ThreeTracks();
    EXPECT_EQ(FormatCdPosition(toc, CdTimeFormat::Tmsf, 0), "01:00:00:00");
    EXPECT_EQ(FormatCdPosition(toc, CdTimeFormat::Tmsf, 40), "02:00:00:00");
    EXPECT_EQ(FormatCdPosition(toc, CdTimeFormat::Tmsf, 69), "02:00:00:29");
    EXPECT_EQ(FormatCdPosition(toc, CdTimeFormat::Msf, 40), "00:02:40");
    EXPECT_EQ(FormatCdPosition(toc, CdTimeFormat::Milliseconds, 75), "3000");
    const CdToc longDisc{{{1, 0, true}, {12, 100000, true}}, 200000};
    EXPECT_EQ(FormatCdPosition(longDisc, CdTimeFormat::Tmsf, 100000 + 75 * 61 + 3), "12:01:01:03");
    EXPECT_EQ(FormatCdLength(CdTimeFormat::Tmsf, 120), "00:01:45");
    EXPECT_EQ(FormatCdLength(CdTimeFormat::Milliseconds, 120), "1600");
}

TEST(CdPositions, ReadsPositionsBackAndRefusesOthers) {
    const CdToc toc = ThreeTracks();
    std::int32_t sector = -1;
    EXPECT_EQ(ParseCdPosition(toc, CdTimeFormat::Tmsf, "2", sector), kOk);
    EXPECT_EQ(sector, 40);
    EXPECT_EQ(ParseCdPosition(toc, CdTimeFormat::Tmsf, "03:00:00:10", sector), kOk);
    EXPECT_EQ(sector, 80);
    EXPECT_EQ(ParseCdPosition(toc, CdTimeFormat::Tmsf, "1:0:1", sector), kOk);
    EXPECT_EQ(sector, 75);
    // Each formatted position reads back as itself.
    for (std::int32_t s : {0, 39, 40, 71, 119}) {
        for (CdTimeFormat format : {CdTimeFormat::Tmsf, CdTimeFormat::Msf}) {
            ASSERT_EQ(ParseCdPosition(toc, format, FormatCdPosition(toc, format, s), sector), kOk);
            EXPECT_EQ(sector, s);
        }
    }
    EXPECT_EQ(ParseCdPosition(toc, CdTimeFormat::Msf, "0:2:0", sector), kOk);
    EXPECT_EQ(sector, 0);
    EXPECT_EQ(ParseCdPosition(toc, CdTimeFormat::Milliseconds, "2000", sector), kOk);
    EXPECT_EQ(sector, 0);

    EXPECT_EQ(ParseCdPosition(toc, CdTimeFormat::Tmsf, "4", sector), kOutOfRange);
    EXPECT_EQ(ParseCdPosition(toc, CdTimeFormat::Tmsf, "0", sector), kOutOfRange);
    EXPECT_EQ(ParseCdPosition(toc, CdTimeFormat::Tmsf, "1:00:60:00", sector), kOutOfRange);
    EXPECT_EQ(ParseCdPosition(toc, CdTimeFormat::Tmsf, "1:00:00:75", sector), kOutOfRange);
    EXPECT_EQ(ParseCdPosition(toc, CdTimeFormat::Tmsf, "3:00:01:00", sector), kOutOfRange)
        << "past the end of the disc";
    EXPECT_EQ(ParseCdPosition(toc, CdTimeFormat::Msf, "00:01:74", sector), kOutOfRange);
    EXPECT_EQ(ParseCdPosition(toc, CdTimeFormat::Tmsf, "Error:282", sector), kBadInteger);
    EXPECT_EQ(ParseCdPosition(toc, CdTimeFormat::Tmsf, "-1", sector), kBadInteger);
    EXPECT_EQ(ParseCdPosition(toc, CdTimeFormat::Tmsf, "1::2", sector), kBadInteger);
    EXPECT_EQ(ParseCdPosition(toc, CdTimeFormat::Tmsf, "1:2:3:4:5", sector), kBadInteger);
    EXPECT_EQ(ParseCdPosition(toc, CdTimeFormat::Tmsf, "", sector), kBadInteger);
    EXPECT_EQ(ParseCdPosition(CdToc{}, CdTimeFormat::Tmsf, "1", sector), kOutOfRange);
}

TEST(CdPositions, AudioRunsPassOverDataTracks) {
    const CdToc toc{{{1, 0, true}, {2, 40, false}, {3, 70, true}}, 120};
    EXPECT_EQ(toc.AudioRunFrom(10).start, 10);
    EXPECT_EQ(toc.AudioRunFrom(10).end, 40);
    EXPECT_EQ(toc.AudioRunFrom(45).start, 70);
    EXPECT_EQ(toc.AudioRunFrom(45).end, 120);
    EXPECT_EQ(toc.AudioRunFrom(120).start, 120);
    const CdToc dataFirst{{{1, 0, false}, {2, 50, true}}, 90};
    EXPECT_EQ(dataFirst.FirstAudioSector(), 50);
    EXPECT_EQ(ThreeTracks().IndexAt(69), 1u);
    EXPECT_EQ(ThreeTracks().IndexAt(500), 2u);
}

TEST(MciErrors, EveryCodeTheLayerGivesHasAText) {
    for (Error code :
         {kUnrecognizedKeyword, kUnrecognizedCommand,  kInvalidDeviceName, kDeviceOpen,
          kCannotLoadDriver,    kMissingCommandString, kParamOverflow,     kMissingStringArgument,
          kBadInteger,          kMissingParameter,     kFileNotFound,      kDeviceNotReady,
          kCannotUseAll,        kOutOfRange,           kDuplicateAlias,    kMissingDeviceName,
          kBadTimeFormat,       kNoClosingQuote,       kDuplicateFlags,    kInvalidFile,
          kExtraCharacters,     kDeviceNotInstalled,   kNoAudioOutput}) {
        EXPECT_FALSE(MciErrorText(code).empty()) << code;
        EXPECT_LT(MciErrorText(code).size(), 256u) << code;
    }
    EXPECT_TRUE(MciErrorText(0).empty());
    EXPECT_TRUE(MciErrorText(12345).empty());
}

} // namespace
} // namespace kestrune::mci
