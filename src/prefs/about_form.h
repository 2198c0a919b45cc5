// The about window: the product's name and version, a notice, links to the web page and the support
// mail, and a warning. Shown modally for one showing.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class AboutForm;
}

namespace velloran {

class Opener;

class AboutForm : public QDialog {
    Q_OBJECT
public:
    // Links are opened through opener, which must outlive the window.
    AboutForm(QWidget* parent, Opener& opener);
    ~AboutForm() override;

private:
    // Opening leaves the window up; a desktop without a browser or mail program just shows nothing.
    void openWebPage();
    void writeToSupport();

    std::unique_ptr<Ui::AboutForm> ui_;
    Opener& opener_;
};

} // namespace velloran
