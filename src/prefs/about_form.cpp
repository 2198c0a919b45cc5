#include "about_form.h"

#include "common/product.h"
#include "common/version.h"
#include "look/artwork.h"
#include "look/fonts.h"
#include "platform/owner_modal.h"
#include "scheduler/task_actions.h"
#include "ui_about_form.h"

namespace velloran {

AboutForm::AboutForm(QWidget* parent, Opener& opener)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui_(std::make_unique<Ui::AboutForm>()), opener_(opener) {
    setFont(designFont());
    ui_->setupUi(this);
    makeOwnerModal(this);

    // The logo is drawn at the size it is shown, sharper than its 96-pixel design scaled down.
    ui_->Image1->setPixmap(
        artworkPixmap(QString::fromLatin1(kAboutLogoPicture), ui_->Image1->size(), devicePixelRatioF()));
    //: %1 is the program's version
    ui_->Label1->setText(tr("Velloran (vesion %1)").arg(QLatin1String(kProgramVersion)));
    ui_->Label5->setText(QString::fromLatin1(kProductWebPage));
    ui_->Label6->setText(QString::fromLatin1(kSupportMailAddress));
    // Each as wide as its text in the language shown: a link answers only where it is written.
    for (QLabel* label : {ui_->Label1, static_cast<QLabel*>(ui_->Label5), static_cast<QLabel*>(ui_->Label6)})
        label->adjustSize();

    connect(ui_->OKBT, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->Label5, &LinkLabel::clicked, this, &AboutForm::openWebPage);
    connect(ui_->Label6, &LinkLabel::clicked, this, &AboutForm::writeToSupport);
}

AboutForm::~AboutForm() = default;

void AboutForm::openWebPage() {
    opener_.open(kProductWebPage);
}

void AboutForm::writeToSupport() {
    opener_.open(std::string("mailto:") + kSupportMailAddress);
}

} // namespace velloran
