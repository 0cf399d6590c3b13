// The Windows window: the dialog of the resource script, a view of the front ends' model. It
// hands the model its events and applies the updates; the model decides.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "app/front_end.hpp"
#include "win32/report_box.hpp"
#include "win32/script_marks.hpp"

namespace quillon::win32 {

class MainWindow {
public:
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Runs the window until Exit, first loading `fileToOpen` when one is given; the program's
    // exit code.
    int run(const std::string& fileToOpen = {});

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void initialise();
    void buildMenu();
    void command(int id, int notification);
    // Keys the dialog manager would turn into something else: F2, and the accelerators.
    bool preTranslate(MSG& message);

    void apply(app::Update update);
    void scoreEdits();
    void flushEdits();  // the edits not scored yet go to the model now
    void showState();
    std::string scriptText() const;
    void RunScript();
    void LoadScriptFile(const std::string& path);
    void openFile();
    void filesDropped(HDROP drop);
    void SelectSample();
    void ChooseSample(int index);
    bool Save();
    bool SaveAs();
    bool SaveTo(const app::SaveTarget& target);
    void ShowAbout();
    void ShowAnalysis();
    void exportTables(const app::ExportFormat& format);
    // 与脚本文件比较: the file chosen is before, the script box after.
    void compareWithFile();
    static INT_PTR CALLBACK ComparisonProc(HWND comparison, UINT message, WPARAM wParam, LPARAM lParam);
    // Asks where and writes the file, or says why there is none.
    void saveExport(HWND owner, const app::ExportFormat& format, const app::ExportedFile& file, const std::string& name);
    void showMessage(const std::string& text, UINT icon);
    std::size_t ask(const app::Question& question);
    void paintMinimised();
    void exitApplication();
    HWND control(int id) const { return GetDlgItem(dialog_, id); }

    HINSTANCE instance_;
    HWND dialog_ = nullptr;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HACCEL accelerators_ = nullptr;
    HFONT font_ = nullptr;  // the controls', chosen for the screen
    app::FrontEnd model_;
    std::unique_ptr<ScriptMarks> marks_;
    std::unique_ptr<ReportBox> report_;
    std::string comparisonText_;  // for the comparison dialog while it opens
    bool editsWaiting_ = false;  // the user changed the script since the model last saw it
    bool replacing_ = false;  // the program, not the user, is changing the script box
    std::pair<std::size_t, std::size_t> marksAsked_{SIZE_MAX, SIZE_MAX};  // rows in view last asked of the model
};

}  // namespace quillon::win32
