#pragma once

#include <cstdint>
#include <string_view>

// The error codes of the media control layer. They are the numbers the
// system's own MCI uses for the same faults, so a reply reads the same on
// every platform; the texts behind them on Linux are ours (mci_errors.cpp
// holds the one table of codes and texts).
namespace kestrune::mci {

using Error = std::uint32_t;

inline constexpr Error kOk = 0;
inline constexpr Error kUnrecognizedKeyword = 259;
inline constexpr Error kUnrecognizedCommand = 261;
inline constexpr Error kInvalidDeviceName = 263;
inline constexpr Error kDeviceOpen = 265;
inline constexpr Error kCannotLoadDriver = 266;
inline constexpr Error kMissingCommandString = 267;
inline constexpr Error kParamOverflow = 268;
inline constexpr Error kMissingStringArgument = 269;
inline constexpr Error kBadInteger = 270;
inline constexpr Error kMissingParameter = 273;
inline constexpr Error kFileNotFound = 275;
inline constexpr Error kDeviceNotReady = 276;
inline constexpr Error kCannotUseAll = 279;
inline constexpr Error kOutOfRange = 282;
inline constexpr Error kDuplicateAlias = 289;
inline constexpr Error kMissingDeviceName = 292;
inline constexpr Error kBadTimeFormat = 293;
inline constexpr Error kNoClosingQuote = 294;
inline constexpr Error kDuplicateFlags = 295;
inline constexpr Error kInvalidFile = 296;
inline constexpr Error kExtraCharacters = 305;
inline constexpr Error kDeviceNotInstalled = 306;
inline constexpr Error kNoAudioOutput = 326;

// The text of a code, or an empty view for a code the table does not know.
std::string_view MciErrorText(Error code);

} // namespace kestrune::mci
