#include "host/forms/system_services.h"

#include "host/forms/application.h"
#include "host/forms/form.h"
#include "host/forms/win32/application_impl.h"
#include "host/forms/win32/gdi_handles.h"
#include "host/forms/win32/text_win32.h"

#include <commdlg.h>
#include <shellapi.h>

#include <vector>

// Every text here goes to Windows through the wide-character calls
// (MessageBoxW, GetOpenFileNameW, ShellExecuteW where the forms were written
// against the ANSI ones), so that the Japanese texts show on a Windows of any
// system locale and Japanese file names come back whole.
namespace kestrune::forms {

namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kUsualTwipsPerPixel = 15;
// The file dialog's buffers, for the chosen path and the chosen file's title,
// each filled with NUL characters. They hold the longest path Windows knows
// (32767 units): with a smaller buffer a longer choice would fail as if it
// were cancelled, where the dialog must tell the user why it cannot keep it.
constexpr DWORD kFileBufferLength = 32768;

int TwipsPerPixel(int index) {
    const win32::ScreenDc screen;
    const int dotsPerInch = screen.Handle() ? GetDeviceCaps(screen.Handle(), index) : 0;
    return dotsPerInch > 0 ? kTwipsPerInch / dotsPerInch : kUsualTwipsPerPixel;
}

} // namespace

int ScreenTwipsPerPixelX() {
    return TwipsPerPixel(LOGPIXELSX);
}

int ScreenTwipsPerPixelY() {
    return TwipsPerPixel(LOGPIXELSY);
}

int ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

int ScreenHeight() {
    return GetSystemMetrics(SM_CYSCREEN);
}

void SetScreenMousePointer(MousePointer pointer) {
    win32::SetHourglassPointer(pointer == MousePointer::Hourglass);
}

void ShowMessageBox(const std::string& text) {
    MessageBoxW(GetActiveWindow(), win32::Utf16(text).c_str(), win32::Utf16(ProgramTitle()).c_str(),
                MB_OK);
}

std::optional<std::string> ChooseFileToOpen(const Form& owner, const OpenFileOptions& options) {
    // One filter entry: its description, then its patterns joined by ";",
    // each ended by a NUL, and one more NUL at the end of the list.
    std::wstring patterns;
    for (const std::string& pattern : options.patterns) {
        patterns += (patterns.empty() ? L"" : L";") + win32::Utf16(pattern);
    }
    std::wstring filter = win32::Utf16(options.filterDescription);
    filter += L'\0';
    filter += patterns;
    filter += L'\0';
    filter += L'\0';
    const std::wstring title = win32::Utf16(options.title);
    const std::wstring folder = win32::Utf16(options.initialFolder);
    std::vector<wchar_t> file(kFileBufferLength + 1, L'\0');
    std::vector<wchar_t> fileTitle(kFileBufferLength + 1, L'\0');

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = reinterpret_cast<HWND>(owner.Window());
    dialog.hInstance = win32::Instance();
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = kFileBufferLength;
    dialog.lpstrFileTitle = fileTitle.data();
    dialog.nMaxFileTitle = kFileBufferLength;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.c_str();
    // No flags: the file need not exist, a typed name is taken as it is.
    dialog.Flags = 0;
    if (!GetOpenFileNameW(&dialog)) {
        return std::nullopt;
    }
    return win32::Utf8(std::wstring(file.data()));
}

bool OpenDocument(const Form& owner, const std::string& target) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(reinterpret_cast<HWND>(owner.Window()), L"open", win32::Utf16(target).c_str(),
                      L"", L"", SW_SHOWNORMAL));
    // Values above 32 mean the document was handed over.
    return result > 32;
}

} // namespace kestrune::forms
