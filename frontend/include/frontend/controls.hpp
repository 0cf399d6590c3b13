// The main window's controls and menu bar, built from the window's design: every control with
// its id, caption, place and size in dialog units, in tab order. No behaviour lives here.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <array>
#include <vector>

#include "app/command_ids.h"  // the controls' ids, and the commands', kept on each action as "commandId"
#include "frontend/dialog_units.hpp"

namespace quillon::frontend {

// Control ids of the design, the Win32 window's; each widget also carries its id as the object
// name "control<id>".
enum ControlId : int {
    kOkButtonId = 1,      // IDOK
    kCancelButtonId = 2,  // IDCANCEL
    kScriptBoxId = IDC_SCRIPT_BOX,
    kReportBoxId = IDC_REPORT_BOX,
    kComputeButtonId = IDC_COMPUTE,
    kRealTimeBoxId = IDC_REAL_TIME,
    kLoadButtonId = IDC_LOAD,
    kExitButtonId = IDC_EXIT,
    kSampleListId = IDC_SAMPLE_LIST,
};

inline constexpr QSize kMainWindowDialogUnits{687, 421};

struct Controls {
    QWidget* client = nullptr;  // the dialog's area below the menu bar
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QPlainTextEdit* scriptBox = nullptr;
    QPlainTextEdit* reportBox = nullptr;
    QPushButton* computeButton = nullptr;
    QCheckBox* realTimeBox = nullptr;
    QPushButton* loadButton = nullptr;
    QPushButton* exitButton = nullptr;
    QGroupBox* groupBox = nullptr;
    QComboBox* sampleList = nullptr;
    QLabel* reportNotice = nullptr;  // beyond the design: says that the report was cut

    QMenuBar* menuBar = nullptr;
    QAction* loadAction = nullptr;
    QAction* saveAction = nullptr;
    QAction* saveAsAction = nullptr;
    std::vector<QAction*> exportActions;  // in the order of app::ExportFormats()
    QAction* analysisAction = nullptr;
    QAction* compareAction = nullptr;
    QAction* homePageAction = nullptr;
    QAction* helpAction = nullptr;
    QAction* donationAction = nullptr;
    QAction* exitAction = nullptr;
    std::array<QAction*, 5> sampleActions{};
    QAction* aboutAction = nullptr;
};

// Builds the controls and menu into the dialog in the given dialog font and fixes its size.
Controls BuildControls(QDialog& dialog, const QFont& font);

}  // namespace quillon::frontend
