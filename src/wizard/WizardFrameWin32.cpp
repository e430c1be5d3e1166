// The wizard frame: pages, header band, buttons, and the install worker's way back to the user.
#include "wizard/WizardFrameWin32.h"

#include <algorithm>
#include <utility>

#include "media/BitmapDisplayWin32.h"
#include "platform/WideTextWin32.h"
#include "resources/ResourceIds.h"
#include "wizard/FittedTextWin32.h"
#include "wizard/PageFocusWin32.h"

namespace vesk {
namespace {

// Sent by the worker thread: ask a question on the frame's thread (lParam: a Question).
constexpr UINT kAskMessage = WM_APP + 1;
// Posted by the worker thread: the install is over (wParam: the timer to start).
constexpr UINT kFinishMessage = WM_APP + 2;
// Sent by the worker thread: show a message on the frame's thread (lParam: a Question whose
// answer is not asked for).
constexpr UINT kTellMessage = WM_APP + 3;
// Posted at initialisation: the wizard is on screen (shown now if the dialog has not shown
// itself yet) and whatever stood for it may go.
constexpr UINT kShownMessage = WM_APP + 4;

constexpr char kHeaderPicture[] = "[TempFileDir]\\~VeskInstall-TopFramePicture.bmp";
struct TextSpot {
    int x, y;
};
constexpr TextSpot kSubjectSpot{16, 16}, kDescriptionSpot{16, 36};
// The header's texts keep to the left part of the header picture, which wizard header pictures
// leave plain for them (their emblem sits at the right), in tenths of the picture's width.
constexpr int kTextShareTenths = 7;
constexpr int kBandMargin = 16;  // kept free at the band's right edge

struct Question {
    const std::string& text;
    const std::string& caption;
    QuestionIcon icon;
    bool asked = false;
    bool yes = false;
};

int ButtonId(WizardButton button) {
    switch (button) {
        case WizardButton::Back:
            return IDC_WIZARD_BACK;
        case WizardButton::Next:
            return IDC_WIZARD_NEXT;
        default:
            return IDC_WIZARD_CANCEL;
    }
}

HICON LoadSetupIcon(int size) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SETUP),
                                         IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace

WizardFrame::WizardFrame(SetupSession& session, const PageMetrics& metrics,
                         std::function<void()> finalCleanUp, std::function<void()> shown)
    : session_(session),
      metrics_(metrics),
      shown_(std::move(shown)),
      flow_(session.project, session.flags, session.texts, *this),
      headerPicture_(session.TempNameFor(kHeaderPicture)),
      welcome_(session),
      licence_(session),
      readme_(session),
      userInformation_(session),
      destination_(session, destinationFolders_),
      programFolder_(session),
      progress_(session, *this, destinationFolders_),
      // The worker has told its end when the finish page can restart, but its thread may not
      // have ended: the clean-up reads what it recorded only once it has.
      finish_(session, [this, cleanUp = std::move(finalCleanUp)] {
          progress_.WaitForWorker();
          cleanUp();
      }) {}

WizardFrame::~WizardFrame() {
    // The worker may still be telling this frame its end: it must be gone before the frame.
    progress_.WaitForWorker();
    if (icon_) DestroyIcon(icon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
}

void WizardFrame::DoModal() {
    RunModal(IDD_WIZARD_FRAME, nullptr);
}

bool WizardFrame::OnInitDialog() {
    const LanguageTable& texts = session_.texts;
    SetWindowTextUtf8(Window(),
                      (texts.GetText(TextKey::ProjectName) + texts.GetText(TextKey::InstallDesc)));
    CreatePages();
    SetItemText(IDC_WIZARD_BACK, texts.GetText(TextKey::BackButtonDesc));
    SetItemText(IDC_WIZARD_NEXT, texts.GetText(TextKey::NextButtonDesc));
    SetItemText(IDC_WIZARD_CANCEL, texts.GetText(TextKey::CancelButtonDesc));

    icon_ = LoadSetupIcon(GetSystemMetrics(SM_CXICON));
    smallIcon_ = LoadSetupIcon(GetSystemMetrics(SM_CXSMICON));
    SendMessageW(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));

    static const int kFontControls[] = {IDC_WIZARD_BACK, IDC_WIZARD_NEXT, IDC_WIZARD_CANCEL};
    SetUpFonts(kFontControls);
    LayOut();
    PostMessageW(Window(), kShownMessage, 0, 0);
    flow_.Start();
    return false;  // the first page has the focus already
}

void WizardFrame::LayOut() {
    // Dialog units of the template: button size, the gap between buttons and above them, and
    // the margins to the right and below.
    RECT button{0, 0, 51, 13}, gap{0, 0, 3, 6}, margin{0, 0, 5, 4};
    MapDialogRect(Window(), &button);
    MapDialogRect(Window(), &gap);
    MapDialogRect(Window(), &margin);
    const int width = metrics_.width;
    const int buttonTop = metrics_.height + gap.bottom;
    const int clientHeight = buttonTop + button.bottom + margin.bottom;
    const UINT place = SWP_NOZORDER | SWP_NOACTIVATE;

    // The lines: under the header band (its last two pixels) and above the buttons.
    SetWindowPos(Item(IDC_WIZARD_UPPER_LINE), nullptr, 0, metrics_.headerHeight - 2, width, 2,
                 place);
    SetWindowPos(Item(IDC_WIZARD_LOWER_LINE), nullptr, 0, metrics_.height, width, 2, place);
    int x = width - margin.right - button.right;
    for (int id : {IDC_WIZARD_CANCEL, IDC_WIZARD_NEXT, IDC_WIZARD_BACK}) {
        SetWindowPos(Item(id), nullptr, x, buttonTop, button.right, button.bottom, place);
        x -= gap.right + button.right;
    }

    // The frame takes the page area's size whatever the dialog font makes of the template, and
    // stays centred on the work area.
    RECT frame{0, 0, width, clientHeight};
    AdjustWindowRectEx(&frame, DWORD(GetWindowLongPtrW(Window(), GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongPtrW(Window(), GWL_EXSTYLE)));
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int frameWidth = frame.right - frame.left, frameHeight = frame.bottom - frame.top;
    SetWindowPos(Window(), nullptr, work.left + (work.right - work.left - frameWidth) / 2,
                 work.top + (work.bottom - work.top - frameHeight) / 2, frameWidth, frameHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void WizardFrame::CreatePages() {
    const InstallProject& project = session_.project;
    for (const PageOfFlow& entry : Pages()) {
        WizardPage& page = *entry.page;
        page.Create(Window());
        if (entry.kind != kNoPage) page.SetContent(project.FindTask(TaskIdForSlot(entry.kind)));
        const int top =
            page.PageArea() == WizardPage::Area::CoversHeader ? 0 : metrics_.headerHeight;
        page.PlaceAt(0, top, metrics_.width, metrics_.height - top);
    }
}

std::array<WizardFrame::PageOfFlow, 8> WizardFrame::Pages() {
    return {{{&welcome_, kWelcomePage},
             {&licence_, kLicencePage},
             {&readme_, kReadmePage},
             {&userInformation_, kUserInformationPage},
             {&destination_, kDestinationPage},
             {&programFolder_, kProgramFolderPage},
             {&progress_, kProgressPage},
             {&finish_, kNoPage}}};
}

WizardPage* WizardFrame::PageOfKind(int kind) {
    if (kind == kNoPage) return nullptr;
    for (const PageOfFlow& entry : Pages()) {
        if (entry.kind == kind) return entry.page;
    }
    return nullptr;
}

bool WizardFrame::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return false;
    // A disabled button does nothing, whoever sends its command.
    if ((id == IDC_WIZARD_BACK || id == IDC_WIZARD_NEXT) && !IsWindowEnabled(Item(id))) {
        return true;
    }
    if (id == IDC_WIZARD_BACK) {
        flow_.OnBack();
        return true;
    }
    if (id == IDC_WIZARD_NEXT) {
        flow_.OnNext();
        return true;
    }
    return false;
}

bool WizardFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
        case WM_PAINT:
            PaintFrame();
            return true;
        case WM_ERASEBKGND:
            EraseBackground(reinterpret_cast<HDC>(wParam));
            result = TRUE;
            return true;
        case WM_DESTROY:
            // Left before the install, the destination page withdraws its folders as it closes.
            for (const PageOfFlow& entry : Pages()) entry.page->Close();
            return false;
        case kShownMessage:
            // The dialog shows itself once no message waits; this one may come first. The
            // wizard is on screen and painted before the loading dialog goes.
            if (!IsWindowVisible(Window())) ShowWindow(Window(), SW_SHOWNORMAL);
            UpdateWindow(Window());
            // Activating the dialog put the focus back where the dialog manager had it.
            FocusShownPage();
            if (shown_) std::exchange(shown_, nullptr)();
            return true;
        case WM_QUERYDRAGICON:
            result = reinterpret_cast<INT_PTR>(icon_);
            return true;
        case WM_TIMER:
            if (wParam == kAdvanceTimer) {
                KillTimer(Window(), kAdvanceTimer);
                flow_.OnInstallCompleted();
                return true;
            }
            if (wParam == kCloseTimer) {
                KillTimer(Window(), kCloseTimer);
                EndModal(IDCANCEL);
                return true;
            }
            return false;
        case kAskMessage: {
            auto* question = reinterpret_cast<Question*>(lParam);
            UINT icon = question->icon == QuestionIcon::Stop ? MB_ICONSTOP : MB_ICONQUESTION;
            question->yes = MessageBoxUtf8(Window(), question->text, question->caption,
                                           MB_YESNO | MB_DEFBUTTON2 | icon) == IDYES;
            question->asked = true;
            return true;
        }
        case kTellMessage: {
            auto* notice = reinterpret_cast<Question*>(lParam);
            MessageBoxUtf8(Window(), notice->text, notice->caption, MB_OK);
            notice->asked = true;
            return true;
        }
        case kFinishMessage:
            SetTimer(Window(), UINT_PTR(wParam), kTimerDelayMs, nullptr);
            return true;
        default:
            return false;
    }
}

RECT WizardFrame::HeaderBand() const {
    RECT client{};
    GetClientRect(Window(), &client);
    return RECT{0, 0, client.right, metrics_.headerHeight};
}

void WizardFrame::EraseBackground(HDC dc) {
    RECT client{};
    GetClientRect(Window(), &client);
    // The header band is painted whole with the frame, so erasing it first would only flicker.
    if (headerVisible_ && !IsIconic(Window())) {
        const RECT band = HeaderBand();
        ExcludeClipRect(dc, band.left, band.top, band.right, band.bottom);
    }
    FillRect(dc, &client, GetSysColorBrush(COLOR_3DFACE));
}

void WizardFrame::PaintFrame() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Window(), &paint);
    if (dc == nullptr) return;
    RECT client{};
    GetClientRect(Window(), &client);
    if (IsIconic(Window())) {
        const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
        DrawIcon(dc, x, y, icon_);
    } else if (headerVisible_) {
        // Drawn off screen and copied in one piece: the band never shows half-painted.
        const RECT band = HeaderBand();
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP canvas = CreateCompatibleBitmap(dc, band.right, band.bottom);
        if (memory && canvas) {
            HGDIOBJ previous = SelectObject(memory, canvas);
            PaintHeader(memory, band);
            BitBlt(dc, 0, 0, band.right, band.bottom, memory, 0, 0, SRCCOPY);
            SelectObject(memory, previous);
        } else {
            PaintHeader(dc, band);
        }
        if (canvas) DeleteObject(canvas);
        if (memory) DeleteDC(memory);
    }
    EndPaint(Window(), &paint);
}

void WizardFrame::PaintHeader(HDC dc, const RECT& band) {
    FillRect(dc, &band, GetSysColorBrush(COLOR_3DFACE));
    int width = 0, height = 0;
    DrawBitmapFile(headerPicture_, dc, 0, 0, width, height);
    // Long texts wrap or end with "..." before the picture's emblem and inside the band.
    int right = band.right - kBandMargin;
    if (width > 0)
        right = std::min(right, std::min(width, int(band.right)) * kTextShareTenths / 10);
    right = std::max(right, int(band.right) / 2);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ previous = SelectObject(dc, BoldFont());
    RECT subject{kSubjectSpot.x, kSubjectSpot.y, right, kDescriptionSpot.y};
    const WideText subjectText = Wide(header_.subject);
    DrawTextW(dc, subjectText.c_str(), int(subjectText.size()), &subject,
              DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, NormalFont());
    const RECT description{kDescriptionSpot.x, kDescriptionSpot.y, right, band.bottom - 2};
    DrawFittedText(dc, header_.description, description);
    SelectObject(dc, previous);
}

bool WizardFrame::CanLeave(int kind) {
    WizardPage* page = PageOfKind(kind);
    return page == nullptr || page->CanLeave();
}

bool WizardFrame::CommitDestination() {
    // The flow asks while the destination page is still the page shown.
    WizardPage* page = PageOfKind(flow_.CurrentKind());
    return page == nullptr || page->OnLeavingForward();
}

void WizardFrame::LeavePage(int kind) {
    if (WizardPage* page = PageOfKind(kind)) page->OnLeft();
}

void WizardFrame::EnterPage(int kind) {
    if (WizardPage* page = PageOfKind(kind)) page->OnEntered();
    FocusShownPage();
}

void WizardFrame::FocusShownPage() {
    HWND target = nullptr;
    for (const PageOfFlow& entry : Pages()) {
        // The style, not IsWindowVisible: the frame itself may not be on screen yet.
        if (GetWindowLongW(entry.page->Window(), GWL_STYLE) & WS_VISIBLE) {
            target = FirstFocusControl(entry.page->Window());
            break;
        }
    }
    for (int id : {IDC_WIZARD_NEXT, IDC_WIZARD_CANCEL, IDC_WIZARD_BACK}) {
        if (target) break;
        if (IsWindowEnabled(Item(id))) target = Item(id);
    }
    MoveFocus(Window(), target);
}

void WizardFrame::SetHeader(const PageHeader& header) {
    header_ = header;
    const RECT band = HeaderBand();
    InvalidateRect(Window(), &band, FALSE);
    UpdateWindow(Window());
}

void WizardFrame::SetHeaderVisible(bool visible) {
    if (headerVisible_ == visible) return;
    headerVisible_ = visible;
    const RECT band = HeaderBand();
    InvalidateRect(Window(), &band, TRUE);
}

void WizardFrame::EnableButton(WizardButton button, bool enabled) {
    HWND item = Item(ButtonId(button));
    // A disabled window loses the focus to nobody: Tab and Escape would do nothing.
    const bool losesFocus = !enabled && GetFocus() == item;
    EnableWindow(item, enabled ? TRUE : FALSE);
    if (losesFocus) FocusShownPage();
}

void WizardFrame::SetNextCaption(const std::string& text) {
    SetItemText(IDC_WIZARD_NEXT, text);
}

void WizardFrame::EnterFinishPage(const Task& task) {
    progress_.Hide();
    finish_.SetContent(&task);
    finish_.Show();
    FocusShownPage();
}

void WizardFrame::RunFinishAction() {
    finish_.Complete();
}

void WizardFrame::ShowCompletionMessage(const std::string& text, const std::string& caption) {
    ShowWindow(Window(), SW_HIDE);
    MessageBoxUtf8(Window(), text, caption, MB_OK | MB_ICONINFORMATION);
}

bool WizardFrame::AskToExit(const std::string& text, const std::string& caption) {
    return MessageBoxUtf8(Window(), text, caption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) ==
           IDYES;
}

void WizardFrame::StartCloseTimer() {
    SetTimer(Window(), kCloseTimer, kTimerDelayMs, nullptr);
}

void WizardFrame::SetStatus(const std::string& text) {
    progress_.SetStatus(text);
}

void WizardFrame::SetItem(const std::string& text) {
    progress_.SetItem(text);
}

void WizardFrame::SetProgress(int percent) {
    progress_.SetProgress(percent);
}

bool WizardFrame::AskYesNo(const std::string& text, const std::string& caption, QuestionIcon icon) {
    Question question{text, caption, icon};
    SendMessageW(Window(), kAskMessage, 0, reinterpret_cast<LPARAM>(&question));
    // A wizard that is gone cannot be asked: stopping is the safe answer.
    return question.asked ? question.yes : true;
}

void WizardFrame::Tell(const std::string& text, const std::string& caption) {
    Question message{text, caption, QuestionIcon::Stop};
    SendMessageW(Window(), kTellMessage, 0, reinterpret_cast<LPARAM>(&message));
}

void WizardFrame::Finish(InstallOutcome outcome) {
    const UINT_PTR timer = outcome == InstallOutcome::Completed ? kAdvanceTimer : kCloseTimer;
    PostMessageW(Window(), kFinishMessage, timer, 0);
}

}  // namespace vesk
