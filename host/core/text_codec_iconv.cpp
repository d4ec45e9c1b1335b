// Code page 932 conversion through iconv (glibc's "CP932" is Microsoft's
// table, with the NEC and IBM extensions).
#include "host/core/text_codec.h"

#include <cerrno>
#include <iconv.h>

namespace kestrune {

namespace {

constexpr const char* kCp932 = "CP932";
constexpr const char* kUtf8 = "UTF-8";

// One iconv conversion descriptor, closed when it goes.
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : m_handle(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (Valid()) {
            iconv_close(m_handle);
        }
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool Valid() const { return m_handle != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return m_handle; }

private:
    iconv_t m_handle;
};

// Converts all of `input`, or gives nothing at the first byte sequence that
// cannot be converted (or that ends half-way).
std::optional<std::string> Convert(const char* to, const char* from, std::string_view input) {
    IconvHandle handle(to, from);
    if (!handle.Valid()) {
        return std::nullopt;
    }
    std::string output;
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(handle.Get(), &in, &inLeft, &out, &outLeft);
        output.append(buffer, static_cast<std::size_t>(out - buffer));
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            return std::nullopt;
        }
        // glibc counts characters it substituted in the result; a strict
        // conversion has none.
        if (result != static_cast<std::size_t>(-1) && result != 0) {
            return std::nullopt;
        }
    }
    // Flush any shift state (none for these encodings, but it is the protocol).
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    if (iconv(handle.Get(), nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1)) {
        return std::nullopt;
    }
    output.append(buffer, static_cast<std::size_t>(out - buffer));
    return output;
}

} // namespace

std::optional<std::string> PlatformUtf8ToCp932(std::string_view utf8) {
    return Convert(kCp932, kUtf8, utf8);
}

std::optional<std::string> PlatformCp932ToUtf8(std::string_view bytes) {
    return Convert(kUtf8, kCp932, bytes);
}

} // namespace kestrune
