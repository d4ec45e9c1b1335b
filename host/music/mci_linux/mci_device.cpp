#include "host/music/mci_linux/mci_device.h"

#include <charconv>

namespace kestrune::mci {

bool ReadUnsigned(const std::string& text, long& value) {
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace kestrune::mci
