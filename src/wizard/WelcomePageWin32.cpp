// The welcome page: painted, without controls.
#include "wizard/WelcomePageWin32.h"

#include "media/BitmapDisplayWin32.h"
#include "resources/ResourceIds.h"
#include "wizard/FittedTextWin32.h"

namespace vesk {
namespace {

constexpr COLORREF kPanelColour = RGB(250, 250, 250);
constexpr COLORREF kHeadingColour = RGB(0, 0, 128);
constexpr int kPanelLeft = 163;
// The heading font is the dialog font enlarged by this factor (in tenths), and bold.
constexpr int kHeadingScaleTenths = 12;

struct TextSpot {
    int x, y;
};
constexpr TextSpot kLine1{180, 20}, kLine2{180, 50}, kLine3{175, 84}, kLine4{175, 110};
constexpr int kRightMargin = 12;  // kept free at the page's right edge
// The most lines a welcome line may take before it ends with "...": the heading (which holds
// the product's name) three, the others two.
constexpr int kHeadingLines = 3, kLineLines = 2;

int LineHeight(HDC dc) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight > 0 ? int(metrics.tmHeight) : 1;
}

// Draws `text` wrapped from `spot` to `right` in at most `lines` lines; returns how much lower
// than one line it ended, by which the lines below move down.
int DrawLine(HDC dc, TextSpot spot, int right, const std::string& text, int lines) {
    const int line = LineHeight(dc);
    const RECT area{spot.x, spot.y, right, spot.y + lines * line};
    const int drawn = DrawFittedText(dc, text, area);
    return drawn > line ? drawn - line : 0;
}

}  // namespace

WelcomePage::WelcomePage(SetupSession& session)
    : WizardPage(session, IDD_WELCOME_PAGE, Area::CoversHeader),
      picturePath_(session.TempNameFor("[TempFileDir]\\~VeskInstall-WelcomeWndPicture.bmp")) {}

bool WelcomePage::OnInitDialog() {
    SetUpFonts(nullptr, 0);
    LOGFONTW description{};
    if (NormalFont() && GetObjectW(NormalFont(), sizeof description, &description)) {
        description.lfHeight = description.lfHeight * kHeadingScaleTenths / 10;
        description.lfWidth = description.lfWidth * kHeadingScaleTenths / 10;
        description.lfWeight = FW_BOLD;
        headingFont_.Reset(CreateFontIndirectW(&description));
    }
    panelPen_.Reset(CreatePen(PS_SOLID, 1, kPanelColour));
    panelBrush_.Reset(CreateSolidBrush(kPanelColour));
    return true;
}

bool WelcomePage::OnMessage(UINT message, WPARAM, LPARAM, INT_PTR& result) {
    if (message != WM_PAINT) return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Window(), &paint);
    if (dc) Paint(dc);
    EndPaint(Window(), &paint);
    result = 0;
    return true;
}

void WelcomePage::Paint(HDC dc) {
    RECT client{};
    GetClientRect(Window(), &client);
    HGDIOBJ oldPen = SelectObject(dc, panelPen_.get());
    HGDIOBJ oldBrush = SelectObject(dc, panelBrush_.get());
    Rectangle(dc, kPanelLeft, client.top, client.right, client.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);

    int width = 0, height = 0;
    DrawBitmapFile(picturePath_, dc, 0, 0, width, height);

    // Each line wraps within the panel; a line that takes more room moves the lines below it.
    const LanguageTable& texts = session_.texts;
    const int right = client.right - kRightMargin;
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, headingFont_ ? headingFont_.get() : NormalFont());
    SetTextColor(dc, kHeadingColour);
    int shift =
        DrawLine(dc, kLine1, right,
                 texts.GetText(TextKey::WelcomeWndDesc1) + texts.GetText(TextKey::ProjectName),
                 kHeadingLines);
    shift += DrawLine(dc, {kLine2.x, kLine2.y + shift}, right,
                      texts.GetText(TextKey::WelcomeWndDesc2), kLineLines);
    SelectObject(dc, NormalFont());
    SetTextColor(dc, RGB(0, 0, 0));
    shift += DrawLine(dc, {kLine3.x, kLine3.y + shift}, right,
                      texts.GetText(TextKey::WelcomeWndDesc3), kLineLines);
    DrawLine(dc, {kLine4.x, kLine4.y + shift}, right, texts.GetText(TextKey::WelcomeWndDesc4),
             kLineLines);
    SelectObject(dc, oldFont);
}

}  // namespace vesk
