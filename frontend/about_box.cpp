#include "frontend/about_box.hpp"

#include <QLabel>
#include <QPushButton>

#include "frontend/dialog_units.hpp"
#include "frontend/window_icon.hpp"

namespace quillon::frontend {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("aboutBox");
    setWindowTitle(QStringLiteral("关于 Quillon0701"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    const DialogUnits units(font());
    setFixedSize(units.toPixels(254, 95));

    auto* icon = new QLabel(this);
    icon->setGeometry(units.toPixels(11, 17, 20, 20));
    icon->setPixmap(WindowIcon().pixmap(icon->size()));
    auto* name = new QLabel(QStringLiteral("基于脚本编码方法的算分器"), this);
    name->setGeometry(units.toPixels(47, 18, 119, 8));
    auto* about = new QLabel(QStringLiteral("Quillon：由脚本计算密评单元、层面与整体得分。"), this);
    about->setObjectName("aboutLine");
    about->setGeometry(units.toPixels(27, 45, 203, 15));
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName("aboutOk");
    ok->setGeometry(units.toPixels(197, 7, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace quillon::frontend
