// The welcome page: painted, without controls.
#include "wizard/WelcomePageWin32.h"

#include "media/BitmapDisplayWin32.h"
#include "resources/ResourceIds.h"

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

void DrawLine(HDC dc, TextSpot spot, const std::string& text) {
    TextOutA(dc, spot.x, spot.y, text.c_str(), int(text.size()));
}

}  // namespace

WelcomePage::WelcomePage(SetupSession& session)
    : WizardPage(session, IDD_WELCOME_PAGE),
      picturePath_(session.TempNameFor("[TempFileDir]\\~VeskInstall-WelcomeWndPicture.bmp")) {}

bool WelcomePage::OnInitDialog() {
    SetUpFonts(nullptr, 0);
    LOGFONTA description{};
    if (NormalFont() && GetObjectA(NormalFont(), sizeof description, &description)) {
        description.lfHeight = description.lfHeight * kHeadingScaleTenths / 10;
        description.lfWidth = description.lfWidth * kHeadingScaleTenths / 10;
        description.lfWeight = FW_BOLD;
        headingFont_.Reset(CreateFontIndirectA(&description));
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

    const LanguageTable& texts = session_.texts;
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, headingFont_ ? headingFont_.get() : NormalFont());
    SetTextColor(dc, kHeadingColour);
    DrawLine(dc, kLine1,
             texts.GetText(TextKey::WelcomeWndDesc1) + texts.GetText(TextKey::ProjectName));
    DrawLine(dc, kLine2, texts.GetText(TextKey::WelcomeWndDesc2));
    SelectObject(dc, NormalFont());
    SetTextColor(dc, RGB(0, 0, 0));
    DrawLine(dc, kLine3, texts.GetText(TextKey::WelcomeWndDesc3));
    DrawLine(dc, kLine4, texts.GetText(TextKey::WelcomeWndDesc4));
    SelectObject(dc, oldFont);
}

}  // namespace vesk
