#include "win32/main_window.hpp"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "app/desktop_files.hpp"
#include "app/menus.hpp"
#include "codec/wide_text.hpp"
#include "app/builtin_texts.hpp"
#include "win32/edit_text.hpp"
#include "win32/files.hpp"
#include "win32/resource_ids.h"
#include "win32/sample_list.hpp"
#include "win32/window_layout.hpp"

namespace quillon::win32 {
namespace {

constexpr wchar_t kTitle[] = L"基于脚本编码方法的Quillon-";
// Asks the model for the marks of the rows in view (wParam to lParam), after the painting.
constexpr UINT kMarkRowsMessage = WM_APP + 1;
// Scores the edits made since the last run, once no more keys wait in the queue; also the
// number of the timer that asks again.
constexpr UINT kScoreEditsMessage = WM_APP + 2;

INT_PTR CALLBACK AboutProc(HWND about, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(about, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// The 分析 dialog: the model's text above and below a list of the units below 1, each with a
// check box; every tick asks the model for the text below again. The model comes as the
// dialog's parameter.
std::vector<std::size_t> TickedRows(HWND units) {
    std::vector<std::size_t> ticked;
    const int count = ListView_GetItemCount(units);
    for (int row = 0; row < count; ++row) {
        if (ListView_GetCheckState(units, row)) ticked.push_back(static_cast<std::size_t>(row));
    }
    return ticked;
}

void FillAnalysis(HWND analysis, const app::FrontEnd& model) {
    const app::Analysis shown = model.analysis();
    SetDlgItemTextW(analysis, IDC_ANALYSIS_TEXT, ForEditBox(shown.head).c_str());
    HWND columns = GetDlgItem(analysis, IDC_ANALYSIS_COLUMNS);
    SetWindowTextW(columns, codec::Wide(shown.columns).c_str());
    HWND units = GetDlgItem(analysis, IDC_ANALYSIS_UNITS);
    ListView_SetExtendedListViewStyle(units, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    ListView_InsertColumn(units, 0, &column);
    for (std::size_t row = 0; row < shown.units.size(); ++row) {
        std::wstring text = codec::Wide(shown.units[row]);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(row);
        item.pszText = text.data();
        ListView_InsertItem(units, &item);
    }
    ListView_SetColumnWidth(units, 0, LVSCW_AUTOSIZE);
    // The header starts where the rows' text does, past the check boxes.
    RECT label{};
    if (ListView_GetItemRect(units, 0, &label, LVIR_LABEL)) {
        POINT at{label.left + 2, 0};
        MapWindowPoints(units, analysis, &at, 1);
        RECT place;
        GetWindowRect(columns, &place);
        MapWindowPoints(nullptr, analysis, reinterpret_cast<POINT*>(&place), 2);
        SetWindowPos(columns, nullptr, at.x, place.top, place.right - at.x, place.bottom - place.top, SWP_NOZORDER);
    }
    if (shown.units.empty()) {
        ShowWindow(columns, SW_HIDE);
        ShowWindow(units, SW_HIDE);
    }
    SetDlgItemTextW(analysis, IDC_ANALYSIS_WHAT_IF, ForEditBox(model.whatIf({})).c_str());
}

INT_PTR CALLBACK AnalysisProc(HWND analysis, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(analysis, DWLP_USER, lParam);
        FillAnalysis(analysis, *reinterpret_cast<const app::FrontEnd*>(lParam));
        SetFocus(GetDlgItem(analysis, IDOK));
        return FALSE;
    }
    if (message == WM_NOTIFY && wParam == IDC_ANALYSIS_UNITS) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        // A check box that changed; not one the list sets up as a row goes in.
        const UINT oldBox = change->uOldState & LVIS_STATEIMAGEMASK;
        if (change->hdr.code == LVN_ITEMCHANGED && (change->uChanged & LVIF_STATE) != 0 && oldBox != 0 &&
            oldBox != (change->uNewState & LVIS_STATEIMAGEMASK)) {
            const auto* model = reinterpret_cast<const app::FrontEnd*>(GetWindowLongPtrW(analysis, DWLP_USER));
            const std::string text = model->whatIf(TickedRows(change->hdr.hwndFrom));
            SetDlgItemTextW(analysis, IDC_ANALYSIS_WHAT_IF, ForEditBox(text).c_str());
        }
        return FALSE;
    }
    return AboutProc(analysis, message, wParam, lParam);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance) {
    bigIcon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAIN_ICON), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    smallIcon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAIN_ICON), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
}

MainWindow::~MainWindow() {
    marks_.reset();
    if (dialog_ != nullptr) DestroyWindow(dialog_);
    if (accelerators_ != nullptr) DestroyAcceleratorTable(accelerators_);
    if (font_ != nullptr) DeleteObject(font_);
    if (bigIcon_ != nullptr) DestroyIcon(bigIcon_);
    if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
}

// The dialog runs modeless under a loop of its own, so that F2 and Ctrl+S are seen before the
// dialog manager takes the keys.
int MainWindow::run(const std::string& fileToOpen) {
    dialog_ = CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_MAIN_WINDOW), nullptr, DialogProc,
                                 reinterpret_cast<LPARAM>(this));
    if (dialog_ == nullptr) return 1;
    ShowWindow(dialog_, SW_SHOW);
    LoadScriptFile(fileToOpen);  // a file it cannot read is told as a drop's would be
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (preTranslate(message)) continue;
        if (IsDialogMessageW(dialog_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

bool MainWindow::preTranslate(MSG& message) {
    if (message.hwnd != dialog_ && !IsChild(dialog_, message.hwnd)) return false;  // other windows' keys
    if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) && message.wParam == VK_F2) {
        HWND focus = GetFocus();
        apply(model_.f2Pressed(focus != nullptr && IsChild(dialog_, focus)));
        return false;  // then the key's ordinary handling
    }
    return accelerators_ != nullptr && TranslateAcceleratorW(dialog_, accelerators_, &message) != 0;
}

INT_PTR CALLBACK MainWindow::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<MainWindow*>(lParam)->dialog_ = dialog;
    }
    auto* window = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return window != nullptr ? window->handle(message, wParam, lParam) : FALSE;
}

INT_PTR MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            initialise();
            return FALSE;  // the focus is set: in the script box, caret at the start
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
                ShowAbout();
                return TRUE;
            }
            return FALSE;
        case WM_PAINT:
            if (!IsIconic(dialog_)) return FALSE;
            paintMinimised();
            return TRUE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(smallIcon_);
        case WM_COMMAND:
            command(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_DROPFILES:
            flushEdits();
            filesDropped(reinterpret_cast<HDROP>(wParam));
            return TRUE;
        case kScoreEditsMessage:
            scoreEdits();
            return TRUE;
        case WM_TIMER:
            if (wParam != kScoreEditsMessage) return FALSE;
            scoreEdits();
            return TRUE;
        case kMarkRowsMessage:
            apply(model_.marksFor(wParam, static_cast<std::size_t>(lParam)));
            return TRUE;
        case WM_CLOSE:
            return TRUE;  // the close button, Alt+F4 and the system menu's Close leave it open
        case WM_DESTROY:
            PostQuitMessage(0);
            return TRUE;
        default:
            return FALSE;
    }
}

void MainWindow::initialise() {
    if (HMENU system = GetSystemMenu(dialog_, FALSE)) {
        wchar_t about[128] = {};
        if (LoadStringW(instance_, IDS_ABOUTBOX, about, 128) > 0) {
            AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(system, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    buildMenu();
    font_ = FitToWorkArea(dialog_);
    SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    SendMessageW(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    for (const int box : {IDC_SCRIPT_BOX, IDC_REPORT_BOX}) SendMessageW(control(box), EM_SETLIMITTEXT, 0, 0);
    marks_ = std::make_unique<ScriptMarks>(control(IDC_SCRIPT_BOX), [this](std::size_t row, std::size_t column) {
        HWND box = control(IDC_SCRIPT_BOX);
        const LRESULT start = SendMessageW(box, EM_LINEINDEX, row, 0);
        const LRESULT length = SendMessageW(box, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
        std::wstring line(static_cast<std::size_t>(std::max<LRESULT>(length, 1)) + 1, L'\0');
        line[0] = static_cast<wchar_t>(line.size());
        line.resize(static_cast<std::size_t>(SendMessageW(box, EM_GETLINE, row, reinterpret_cast<LPARAM>(line.data()))));
        return model_.wordTip(codec::Utf8(line.c_str()), row, column);
    }, [this](std::size_t first, std::size_t last) {
        // Rows in view the model's marks do not hold (a run lists a thousand problems) are asked
        // of it once the painting is done, once for each view of rows.
        const app::FrontEnd::MarkedRows& rows = model_.markedRows();
        if ((first >= rows.first && last < rows.end) || marksAsked_ == std::pair{first, last}) return;
        marksAsked_ = {first, last};
        PostMessageW(dialog_, kMarkRowsMessage, first, last);
    });
    report_ = std::make_unique<ReportBox>(control(IDC_REPORT_BOX));
    // An address this build was not given leaves its entry disabled.
    HMENU menu = GetMenu(dialog_);
    for (const auto& [id, command] : {std::pair{ID_HOME_PAGE, app::LinkCommand::HomePage},
                                     std::pair{ID_DONATION, app::LinkCommand::DonationPicture}}) {
        EnableMenuItem(menu, id, MF_BYCOMMAND | (model_.linkAvailable(command) ? MF_ENABLED : MF_GRAYED));
    }
    FillSampleList(control(IDC_SAMPLE_LIST));
    GuardClosedList(control(IDC_SAMPLE_LIST));
    apply(model_.start());
    SendMessageW(control(IDC_SCRIPT_BOX), EM_EMPTYUNDOBUFFER, 0, 0);  // the notice is where the box starts
    SetFocus(control(IDC_SCRIPT_BOX));
}

// The windows' menu table, with its access keys; the shortcuts shown beside their entries and
// made accelerators. The about entry stays in the system menu.
void MainWindow::buildMenu() {
    HMENU bar = CreateMenu();
    std::vector<ACCEL> shortcuts;
    for (const app::Menu& menu : app::MainMenus(false)) {
        HMENU popup = CreatePopupMenu();
        for (const app::MenuEntry& entry : menu.entries) {
            std::string text = entry.text;
            if (entry.ctrlKey != 0) {
                text += "\t" + app::ShortcutText(entry.ctrlKey);
                shortcuts.push_back({FVIRTKEY | FCONTROL, static_cast<WORD>(entry.ctrlKey), static_cast<WORD>(entry.command)});
            }
            AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(entry.command), codec::Wide(text).c_str());
        }
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), codec::Wide(menu.title).c_str());
    }
    SetMenu(dialog_, bar);
    accelerators_ = CreateAcceleratorTableW(shortcuts.data(), static_cast<int>(shortcuts.size()));
}

void MainWindow::command(int id, int notification) {
    if (id != IDC_SCRIPT_BOX) flushEdits();  // every other command sees the model with the newest text
    switch (id) {
        case IDC_SCRIPT_BOX:
            if (notification == EN_CHANGE && !replacing_ && !editsWaiting_) {
                editsWaiting_ = true;
                PostMessageW(dialog_, kScoreEditsMessage, 0, 0);
            }
            return;
        case IDC_SAMPLE_LIST:
            // Chosen, not merely passed over with the arrow keys in the open list.
            if (notification == CBN_SELENDOK) SelectSample();
            return;
        case IDC_COMPUTE: RunScript(); return;
        case IDC_REAL_TIME:
            if (notification == BN_CLICKED) {
                const bool checked = SendMessageW(control(IDC_REAL_TIME), BM_GETCHECK, 0, 0) == BST_CHECKED;
                apply(model_.realTimeClicked(checked, scriptText()));
            }
            return;
        case IDC_LOAD: case ID_LOAD_SCRIPT: openFile(); return;
        case IDC_EXIT: case ID_EXIT: exitApplication(); return;
        case ID_SAVE: Save(); return;
        case ID_SAVE_AS: SaveAs(); return;
        case ID_ANALYSIS: ShowAnalysis(); return;
        case ID_COMPARE: compareWithFile(); return;
        case ID_HOME_PAGE: apply(model_.link(app::LinkCommand::HomePage)); return;
        case ID_HELP_PAGE: apply(model_.link(app::LinkCommand::Help)); return;
        case ID_DONATION: apply(model_.link(app::LinkCommand::DonationPicture)); return;
        case IDOK: case IDCANCEL: return;  // Enter and Esc do not close the window
        default:
            if (id >= ID_FIRST_SAMPLE && id < ID_FIRST_SAMPLE + kBuiltInSampleCount) ChooseSample(id - ID_FIRST_SAMPLE);
            if (const app::ExportFormat* format = app::ExportFormatOfCommand(id)) exportTables(*format);
            return;
    }
}

// Keys typed while a run was going on are merged: the newest text is scored once they are in.
// A key waiting ends this turn; a timer, which comes only after the keyboard's input (a posted
// message would come before it), brings the next.
void MainWindow::scoreEdits() {
    MSG waiting;
    if (editsWaiting_ && PeekMessageW(&waiting, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE)) {
        SetTimer(dialog_, kScoreEditsMessage, USER_TIMER_MINIMUM, nullptr);
        return;
    }
    KillTimer(dialog_, kScoreEditsMessage);
    flushEdits();
}

void MainWindow::flushEdits() {
    if (!editsWaiting_) return;
    KillTimer(dialog_, kScoreEditsMessage);
    editsWaiting_ = false;
    apply(model_.edited(scriptText()));
}

void MainWindow::apply(app::Update update) {
    if (update.script) {
        replacing_ = true;  // from the program, not an edit
        ReplaceBoxText(control(IDC_SCRIPT_BOX), *update.script);
        replacing_ = false;
    }
    if (update.report) {
        report_->show(std::move(*update.report));
        SetWindowTextW(control(IDC_REPORT_NOTICE), codec::Wide(model_.reportNotice()).c_str());
        marksAsked_ = {SIZE_MAX, SIZE_MAX};  // a new run: rows may be asked again
    }
    if (update.marks) marks_->show(*update.marks);
    showState();
    if (update.message) showMessage(*update.message, MB_ICONINFORMATION);
    if (update.link && !OpenTarget(*update.link)) apply(model_.linkNotOpened(*update.link));
}

void MainWindow::showState() {
    SendMessageW(control(IDC_REAL_TIME), BM_SETCHECK, model_.realTime() ? BST_CHECKED : BST_UNCHECKED, 0);
    EnableWindow(control(IDC_COMPUTE), model_.computeEnabled() ? TRUE : FALSE);
    HWND list = control(IDC_SAMPLE_LIST);
    if (SendMessageW(list, CB_GETCURSEL, 0, 0) != model_.sampleIndex()) {
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(model_.sampleIndex()), 0);
    }
}

std::string MainWindow::scriptText() const { return BoxText(control(IDC_SCRIPT_BOX)); }

void MainWindow::RunScript() { apply(model_.computeClicked(scriptText())); }

void MainWindow::LoadScriptFile(const std::string& path) {
    if (path.empty()) return;
    apply(model_.fileRead(path, app::ReadScriptFile(path)));
}

void MainWindow::openFile() {
    if (const auto path = AskFileToOpen(dialog_)) LoadScriptFile(*path);
}

// The first file of a drop is loaded; the others are ignored.
void MainWindow::filesDropped(HDROP drop) {
    if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
        std::vector<wchar_t> path(length + 1, L'\0');
        DragQueryFileW(drop, 0, path.data(), length + 1);
        DragFinish(drop);
        LoadScriptFile(codec::Utf8(path.data()));
        return;
    }
    DragFinish(drop);
}

void MainWindow::SelectSample() {
    apply(model_.sampleChosen(static_cast<int>(SendMessageW(control(IDC_SAMPLE_LIST), CB_GETCURSEL, 0, 0))));
}

void MainWindow::ChooseSample(int index) { apply(model_.sampleChosen(index)); }

bool MainWindow::Save() {
    if (const auto& target = model_.saveTarget()) return SaveTo(*target);
    return SaveAs();
}

bool MainWindow::SaveAs() {
    const bool gbk = model_.saveTarget() && model_.saveTarget()->gbk;
    const auto target = AskSaveTarget(dialog_, model_.proposedSavePath(), gbk);
    return target && SaveTo(*target);
}

bool MainWindow::SaveTo(const app::SaveTarget& target) {
    const app::SaveBytes save = app::BytesToSave(scriptText(), target.gbk, target.path);
    if (!save.bytes) {
        showMessage(save.refusal, MB_ICONWARNING);
        return false;
    }
    if (const auto error = WriteWholeFile(target.path, *save.bytes)) {
        showMessage(app::SaveFailedMessage(target.path, *error), MB_ICONWARNING);
        return false;
    }
    model_.saved(target);
    return true;
}

void MainWindow::ShowAnalysis() {
    DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_ANALYSIS), dialog_, AnalysisProc, reinterpret_cast<LPARAM>(&model_));
}

// The last report's tables, for the assessment report; written whole or not at all.
void MainWindow::exportTables(const app::ExportFormat& format) {
    saveExport(dialog_, format, model_.exportTables(format), app::FrontEnd::ExportName(format));
}

void MainWindow::saveExport(HWND owner, const app::ExportFormat& format, const app::ExportedFile& file, const std::string& name) {
    if (!file.problem.empty()) {
        showMessage(file.problem, MB_ICONINFORMATION);
        return;
    }
    const auto path = AskExportPath(owner, format, name);
    if (!path) return;
    if (const auto error = WriteWholeFile(*path, file.bytes)) showMessage(app::SaveFailedMessage(*path, *error), MB_ICONWARNING);
}

void MainWindow::compareWithFile() {
    const auto path = AskFileToOpen(dialog_);
    if (!path) return;
    const app::ComparisonShown shown = model_.compareWithFile(*path, app::ReadScriptFile(*path), scriptText());
    if (!shown.message.empty()) showMessage(shown.message, MB_ICONINFORMATION);
    if (shown.text.empty()) return;
    comparisonText_ = shown.text;
    DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_COMPARE), dialog_, ComparisonProc, reinterpret_cast<LPARAM>(this));
}

// The text, and a button for each export format left of 确定, in the formats' order.
INT_PTR CALLBACK MainWindow::ComparisonProc(HWND comparison, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(comparison, DWLP_USER, lParam);
        const auto* window = reinterpret_cast<const MainWindow*>(lParam);
        SetDlgItemTextW(comparison, IDC_COMPARE_TEXT, ForEditBox(window->comparisonText_).c_str());
        RECT ok{};
        GetWindowRect(GetDlgItem(comparison, IDOK), &ok);
        MapWindowPoints(nullptr, comparison, reinterpret_cast<POINT*>(&ok), 2);
        RECT margin{7, 0, 0, 0};
        MapDialogRect(comparison, &margin);
        const HFONT font = reinterpret_cast<HFONT>(SendMessageW(comparison, WM_GETFONT, 0, 0));
        int x = margin.left;
        int id = IDC_COMPARE_EXPORT;
        const HDC dc = GetDC(comparison);
        const HGDIOBJ before = SelectObject(dc, font);
        for (const app::ExportFormat& format : app::ExportFormats()) {
            const std::wstring words = codec::Wide(app::ExportMenuText(format) + "...");
            SIZE text{};  // each button as wide as its words, with a margin either side
            GetTextExtentPoint32W(dc, words.c_str(), static_cast<int>(words.size()), &text);
            const int width = std::max<int>(ok.right - ok.left, text.cx + 2 * margin.left);
            HWND button = CreateWindowExW(0, L"BUTTON", words.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, x, ok.top,
                                          width, ok.bottom - ok.top, comparison, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)),
                                          nullptr, nullptr);
            SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
            x += width + margin.left;
        }
        SelectObject(dc, before);
        ReleaseDC(comparison, dc);
        SetFocus(GetDlgItem(comparison, IDOK));
        return FALSE;
    }
    const std::size_t exportButton = static_cast<std::size_t>(LOWORD(wParam)) - IDC_COMPARE_EXPORT;  // wraps below the first
    if (message == WM_COMMAND && exportButton < app::ExportFormats().size()) {
        auto* window = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(comparison, DWLP_USER));
        const app::ExportFormat& format = app::ExportFormats()[exportButton];
        window->saveExport(comparison, format, window->model_.exportComparison(format), app::FrontEnd::ComparisonExportName(format));
        return TRUE;
    }
    return AboutProc(comparison, message, wParam, lParam);
}

// A new about box each time, modal, gone when it closes.
void MainWindow::ShowAbout() { DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_ABOUTBOX), dialog_, AboutProc, 0); }

void MainWindow::showMessage(const std::string& text, UINT icon) {
    MessageBoxW(dialog_, codec::Wide(text).c_str(), kTitle, MB_OK | icon);
}

// Minimised, the window shows its icon, centred.
void MainWindow::paintMinimised() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog_, &paint);
    SendMessageW(dialog_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(dialog_, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, bigIcon_);
    EndPaint(dialog_, &paint);
}

// The model's question with its own buttons; the number of the one chosen (Esc and the close
// button: the last). A question that cannot be shown answers nothing, which keeps the window.
std::size_t MainWindow::ask(const app::Question& question) {
    constexpr int kFirstButton = 100;
    std::vector<std::wstring> words;
    for (const std::string& button : question.buttons) words.push_back(codec::Wide(button));
    std::vector<TASKDIALOG_BUTTON> buttons;
    for (std::size_t i = 0; i < words.size(); ++i) buttons.push_back({kFirstButton + static_cast<int>(i), words[i].c_str()});
    const std::wstring text = codec::Wide(question.text);
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = dialog_;
    config.hInstance = instance_;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.pszWindowTitle = kTitle;
    config.pszMainIcon = TD_WARNING_ICON;
    config.pszContent = text.c_str();
    config.cButtons = static_cast<UINT>(buttons.size());
    config.pButtons = buttons.data();
    config.nDefaultButton = kFirstButton;
    int chosen = 0;
    if (buttons.empty() || FAILED(TaskDialogIndirect(&config, &chosen, nullptr, nullptr))) return buttons.size();
    if (chosen == IDCANCEL) return buttons.size() - 1;
    return static_cast<std::size_t>(chosen - kFirstButton);
}

void MainWindow::exitApplication() {
    app::ExitStep step = model_.exitRequested();
    if (step == app::ExitStep::Ask) step = app::FrontEnd::ExitAnswered(ask(app::FrontEnd::ExitQuestion()));
    if (step == app::ExitStep::Stay || (step == app::ExitStep::SaveThenEnd && !Save())) return;
    DestroyWindow(dialog_);  // WM_DESTROY ends the loop
}

}  // namespace quillon::win32
