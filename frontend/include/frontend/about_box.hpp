// The about box: the icon, the program's name and a line about it, and an OK button.
#pragma once

#include <QDialog>

namespace quillon::frontend {

class AboutBox : public QDialog {
public:
    explicit AboutBox(QWidget* parent);
};

}  // namespace quillon::frontend
