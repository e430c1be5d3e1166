// The document view: the hosted browser control, or the document as text.
#include "wizard/DocumentViewWin32.h"

#include <objbase.h>
#include <oleauto.h>

#include <cstdio>

#include "media/DocumentText.h"
#include "platform/FileOpen.h"
#include "platform/SystemLibrariesWin32.h"
#include "platform/Utf8.h"
#include "platform/WideTextWin32.h"
#include "resources/ResourceIds.h"

namespace vesk {
namespace {

// The system's web browser control.
constexpr wchar_t kBrowserClassId[] = L"{8856F961-340A-11D0-A96B-00C04FD705A2}";
// The browser engine's HTML document: without it the control shows nothing.
constexpr GUID kHtmlDocumentClass = {
    0x25336920, 0x03F9, 0x11CF, {0x8F, 0xD0, 0x00, 0xAA, 0x00, 0x68, 0x6F, 0x13}};
// The browser's Navigate method.
constexpr DISPID kNavigate = 104;
constexpr UINT kNavigateArguments = 5;
// Longest document read for the text view; licences are a few hundred kilobytes at most.
constexpr std::size_t kMaxDocumentSize = 16 << 20;

using AxWinInit = BOOL(WINAPI*)();
using AxGetControl = HRESULT(WINAPI*)(HWND, IUnknown**);

// The control-hosting library of the system, loaded from the system folder only.
HMODULE HostingLibrary() {
    static HMODULE library = LoadSystemLibrary("atl.dll");
    return library;
}

bool BrowserEngineAvailable() {
    IUnknown* document = nullptr;
    if (FAILED(CoCreateInstance(kHtmlDocumentClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(&document)))) {
        return false;
    }
    document->Release();
    return true;
}

// A wide copy of an ANSI text, as the browser's interfaces take it.
BSTR WideString(const std::string& text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), int(text.size()), nullptr, 0);
    BSTR wide = SysAllocStringLen(nullptr, UINT(length));
    if (wide && length > 0) {
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), int(text.size()), wide, length);
    }
    return wide;
}

bool Navigate(IDispatch* browser, const std::string& url) {
    VARIANTARG arguments[kNavigateArguments];
    for (VARIANTARG& argument : arguments) VariantInit(&argument);
    // Arguments go last to first: the URL, then Flags, TargetFrameName, PostData and Headers
    // left empty.
    arguments[kNavigateArguments - 1].vt = VT_BSTR;
    arguments[kNavigateArguments - 1].bstrVal = WideString(url);
    DISPPARAMS parameters{arguments, nullptr, kNavigateArguments, 0};
    HRESULT result = browser->Invoke(kNavigate, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                     &parameters, nullptr, nullptr, nullptr);
    VariantClear(&arguments[kNavigateArguments - 1]);
    return SUCCEEDED(result);
}

std::string ReadDocument(const std::string& path) {
    std::string bytes;
    std::FILE* in = OpenFile(path, "rb");
    if (!in) return bytes;
    char block[8192];
    std::size_t got = 0;
    while (bytes.size() < kMaxDocumentSize && (got = std::fread(block, 1, sizeof block, in)) > 0) {
        bytes.append(block, got);
    }
    std::fclose(in);
    return bytes;
}

}  // namespace

DocumentView::~DocumentView() {
    Clear();
}

int DocumentView::TextViewId() {
    return IDC_DOCUMENT_TEXT;
}

void DocumentView::Show(HWND page, int placeholderId, const std::string& path, HFONT font) {
    Clear();
    HWND placeholder = GetDlgItem(page, placeholderId);
    RECT area{};
    if (placeholder) {
        GetWindowRect(placeholder, &area);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&area), 2);
    }
    if (ShowInBrowser(page, area, path)) return;
    ShowAsText(page, area, path, font);
}

bool DocumentView::ShowInBrowser(HWND page, const RECT& area, const std::string& path) {
    HMODULE library = HostingLibrary();
    if (!library || !BrowserEngineAvailable()) return false;
    auto init = reinterpret_cast<AxWinInit>(
        reinterpret_cast<void*>(GetProcAddress(library, "AtlAxWinInit")));
    auto getControl = reinterpret_cast<AxGetControl>(
        reinterpret_cast<void*>(GetProcAddress(library, "AtlAxGetControl")));
    if (!init || !getControl || !init()) return false;

    HWND host = CreateWindowExW(WS_EX_CLIENTEDGE, L"AtlAxWin", kBrowserClassId,
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP, area.left, area.top,
                                area.right - area.left, area.bottom - area.top, page, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (!host) return false;
    IUnknown* control = nullptr;
    IDispatch* browser = nullptr;
    bool navigated = false;
    if (SUCCEEDED(getControl(host, &control)) && control &&
        SUCCEEDED(control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&browser)))) {
        navigated = Navigate(browser, path);
        browser->Release();
    }
    if (control) control->Release();
    if (!navigated) {
        DestroyWindow(host);
        return false;
    }
    view_ = host;
    mode_ = Mode::Browser;
    return true;
}

void DocumentView::ShowAsText(HWND page, const RECT& area, const std::string& path, HFONT font) {
    const std::string text = DocumentToText(ReadDocument(path), [](std::uint32_t point) {
        std::string character;
        AppendUtf8(character, char32_t(point));
        return character;
    });
    HWND edit =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE |
                            ES_READONLY | ES_AUTOVSCROLL,
                        area.left, area.top, area.right - area.left, area.bottom - area.top, page,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_DOCUMENT_TEXT)),
                        GetModuleHandleW(nullptr), nullptr);
    if (!edit) return;
    if (font) SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);  // no limit below the system's own
    SetWindowTextW(edit, Wide(text).c_str());
    view_ = edit;
    mode_ = Mode::Text;
}

void DocumentView::Clear() {
    if (view_ && IsWindow(view_)) DestroyWindow(view_);
    view_ = nullptr;
    mode_ = Mode::None;
}

}  // namespace vesk
