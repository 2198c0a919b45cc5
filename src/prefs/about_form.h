// TAboutForm: the product's name and version, a notice, links to the web page and the support mail, and a
// warning. Shown modally for one showing.
#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

namespace velloran {

class LinkLabel;
class Opener;

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    // Links are opened through opener, which must outlive the window.
    TAboutForm(QWidget* parent, Opener& opener);

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    LinkLabel* Label5 = nullptr;
    LinkLabel* Label6 = nullptr;
    QPushButton* OKBT = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* WarningLabel = nullptr;

    void OKBTClick();
    void Label5Click();
    void Label6Click();

private:
    Opener& opener_;
};

} // namespace velloran
