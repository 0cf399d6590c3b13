#include "frontend/controls.hpp"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>
#include <map>

#include "app/builtin_texts.hpp"
#include "app/export_formats.hpp"
#include "app/menus.hpp"

namespace quillon::frontend {
namespace {

template <typename Widget>
Widget* Place(Widget* widget, int id, const DialogUnits& units, int x, int y, int w, int h) {
    widget->setObjectName(QStringLiteral("control%1").arg(id));
    widget->setProperty("controlId", id);
    widget->setGeometry(units.toPixels(x, y, w, h));
    return widget;
}

QPlainTextEdit* EditBox(QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setWordWrapMode(QTextOption::NoWrap);
    box->setTabChangesFocus(false);
    return box;
}

// The menus of the windows' one table; each action keeps its command as "commandId".
void BuildMenu(QDialog& dialog, Controls& c) {
    c.menuBar = new QMenuBar(&dialog);
    c.menuBar->setObjectName("menu129");
    c.menuBar->setNativeMenuBar(false);  // the menu belongs to this window, on every platform
    std::map<int, QAction*> byCommand;
    // Window managers take Alt+Space, so the system menu's about entry is also in the bar.
    for (const app::Menu& menu : app::MainMenus(true)) {
        QMenu* shown = c.menuBar->addMenu(QString::fromStdString(menu.title));
        for (const app::MenuEntry& entry : menu.entries) {
            QAction* action = shown->addAction(QString::fromStdString(entry.text));
            action->setProperty("commandId", entry.command);
            if (entry.ctrlKey != 0) {
                action->setShortcut(QKeySequence(QString::fromStdString(app::ShortcutText(entry.ctrlKey))));
                action->setShortcutContext(Qt::WindowShortcut);
            }
            byCommand[entry.command] = action;
        }
    }
    c.loadAction = byCommand.at(ID_LOAD_SCRIPT);
    c.saveAction = byCommand.at(ID_SAVE);
    c.saveAsAction = byCommand.at(ID_SAVE_AS);
    for (const app::ExportFormat& format : app::ExportFormats()) c.exportActions.push_back(byCommand.at(format.command));
    c.homePageAction = byCommand.at(ID_HOME_PAGE);
    c.helpAction = byCommand.at(ID_HELP_PAGE);
    c.donationAction = byCommand.at(ID_DONATION);
    c.exitAction = byCommand.at(ID_EXIT);
    for (int k = 0; k < kBuiltInSampleCount; ++k) c.sampleActions[static_cast<unsigned>(k)] = byCommand.at(ID_FIRST_SAMPLE + k);
    c.analysisAction = byCommand.at(ID_ANALYSIS);
    c.compareAction = byCommand.at(ID_COMPARE);
    c.aboutAction = byCommand.at(IDM_ABOUTBOX);
}

// A closed sample list ignores the wheel and the arrow keys, which would replace the script
// with a neighbouring sample; the keys open the list instead, where Enter chooses.
class ClosedListGuard : public QObject {
public:
    explicit ClosedListGuard(QComboBox* list) : QObject(list), list_(list) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Only these two kinds matter, and the list is whole while they arrive (other events
        // come also while it is being destroyed).
        if (event->type() != QEvent::Wheel && event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        if (list_->view()->isVisible()) return QObject::eventFilter(watched, event);
        if (event->type() == QEvent::Wheel) return true;
        if (event->type() == QEvent::KeyPress) {
            switch (static_cast<QKeyEvent*>(event)->key()) {
                case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_PageUp: case Qt::Key_PageDown:
                case Qt::Key_Home: case Qt::Key_End:
                    list_->showPopup();
                    return true;
                default: break;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QComboBox* list_;
};

}  // namespace

Controls BuildControls(QDialog& dialog, const QFont& font) {
    dialog.setFont(font);
    const DialogUnits units(dialog.font());
    Controls c;
    BuildMenu(dialog, c);

    c.client = new QWidget(&dialog);
    c.client->setObjectName("client");
    c.client->setFixedSize(units.toPixels(kMainWindowDialogUnits.width(), kMainWindowDialogUnits.height()));
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(c.menuBar);
    layout->addWidget(c.client);
    layout->setSizeConstraint(QLayout::SetFixedSize);  // the window is not resizable
    QWidget* w = c.client;

    // Created in tab order; the group box is drawn behind the two controls it frames.
    c.groupBox = Place(new QGroupBox(QStringLiteral("密评算分"), w), 0, units, 241, 351, 103, 57);
    c.groupBox->setObjectName("groupBox");
    c.okButton = Place(new QPushButton(QStringLiteral("确定"), w), kOkButtonId, units, 630, 382, 50, 14);
    c.okButton->setDefault(true);
    c.cancelButton = Place(new QPushButton(QStringLiteral("取消"), w), kCancelButtonId, units, 630, 400, 50, 14);
    for (QPushButton* hidden : {c.okButton, c.cancelButton}) {
        hidden->setEnabled(false);
        hidden->setVisible(false);
    }
    c.scriptBox = Place(EditBox(w), kScriptBoxId, units, 14, 7, 257, 338);
    c.scriptBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    c.scriptBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    c.reportBox = Place(EditBox(w), kReportBoxId, units, 279, 7, 401, 335);
    c.reportBox->setReadOnly(true);
    c.reportBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    c.reportBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    c.computeButton = Place(new QPushButton(QStringLiteral("密评算分喽"), w), kComputeButtonId, units, 249, 385, 82, 18);
    c.realTimeBox = Place(new QCheckBox(QStringLiteral("实时编辑实时算分"), w), kRealTimeBoxId, units, 252, 365, 75, 15);
    c.loadButton = Place(new QPushButton(QStringLiteral("读入脚本(支持拖拽)"), w), kLoadButtonId, units, 17, 352, 89, 18);
    c.exitButton = Place(new QPushButton(QStringLiteral("退出"), w), kExitButtonId, units, 535, 353, 82, 18);
    // The design's height includes the dropped list; the closed box is one line high.
    c.sampleList = Place(new QComboBox(w), kSampleListId, units, 121, 350, 100, 67);
    c.sampleList->setFixedHeight(c.sampleList->sizeHint().height());
    c.sampleList->setEditable(true);
    c.sampleList->setInsertPolicy(QComboBox::NoInsert);
    c.sampleList->setMaxVisibleItems(5);
    for (const auto& sample : BuiltInSamples) {
        c.sampleList->addItem(QString::fromUtf8(sample.label.data(), static_cast<int>(sample.label.size())));
    }
    c.sampleList->model()->sort(0);  // the leading digits keep the sorted order the added one
    // The closed box is narrower than its labels: the dropped list is as wide as they are and
    // the box's tooltip shows the whole label.
    c.sampleList->view()->setMinimumWidth(c.sampleList->view()->sizeHintForColumn(0) + 2 * units.baseX());
    QObject::connect(c.sampleList, &QComboBox::currentIndexChanged, c.sampleList, [box = c.sampleList] {
        box->lineEdit()->setCursorPosition(0);
        box->setToolTip(box->currentText());
    });
    c.sampleList->setToolTip(c.sampleList->currentText());
    auto* guard = new ClosedListGuard(c.sampleList);
    c.sampleList->installEventFilter(guard);
    c.sampleList->lineEdit()->installEventFilter(guard);
    c.groupBox->lower();
    // In the free space right of the group box, below the exit button; empty while there is
    // nothing to say.
    c.reportNotice = Place(new QLabel(w), 0, units, 350, 374, 278, 32);
    c.reportNotice->setObjectName("reportNotice");
    c.reportNotice->setWordWrap(true);
    // Red for a cut report; grey while a long run is still going.
    c.reportNotice->setStyleSheet(QStringLiteral("QLabel { color: #b71c1c } QLabel[busy=\"true\"] { color: #5f6368 }"));

    // At the smaller fonts of a small screen a design's width may cut a label short (the check
    // box's at 10 px): such a control grows to the right from its place, as far as its label needs.
    for (QWidget* labelled : std::initializer_list<QWidget*>{c.computeButton, c.realTimeBox, c.loadButton, c.exitButton, c.groupBox}) {
        if (labelled->sizeHint().width() > labelled->width()) labelled->resize(labelled->sizeHint().width(), labelled->height());
    }

    QWidget::setTabOrder(c.scriptBox, c.reportBox);
    QWidget::setTabOrder(c.reportBox, c.computeButton);
    QWidget::setTabOrder(c.computeButton, c.realTimeBox);
    QWidget::setTabOrder(c.realTimeBox, c.loadButton);
    QWidget::setTabOrder(c.loadButton, c.exitButton);
    QWidget::setTabOrder(c.exitButton, c.sampleList);
    layout->activate();
    dialog.setFixedSize(dialog.sizeHint());
    return c;
}

}  // namespace quillon::frontend
