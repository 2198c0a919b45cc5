#include "about_form.h"

#include "common/product.h"
#include "common/version.h"

#include "link_label.h"
#include "look/artwork.h"
#include "look/fonts.h"
#include "platform/owner_modal.h"
#include "scheduler/task_actions.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace velloran {
namespace {

constexpr const char* kNotice = "A personal task scheduler for alarms, memos and programs.";
constexpr const char* kWarning =
    "Velloran is provided as is, without warranty of any kind. Tasks run only while the computer is on "
    "and Velloran is running: do not rely on it alone for anything that must not be missed.";

} // namespace

TAboutForm::TAboutForm(QWidget* parent, Opener& opener)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), opener_(opener) {
    setObjectName("AboutForm");
    setWindowTitle("About");
    makeOwnerModal(this);
    setFont(designFont());
    setFixedSize(362, 242);

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setAccessibleName(QStringLiteral("Velloran logo"));
    Image1->setGeometry(8, 8, 49, 49);
    // The logo is drawn at the size it is shown, sharper than its 96-pixel design scaled down.
    Image1->setScaledContents(true);
    Image1->setPixmap(
        artworkPixmap(QString::fromLatin1(kAboutLogoPicture), Image1->size(), devicePixelRatioF()));

    Label1 = new QLabel(QStringLiteral("Velloran (vesion %1)").arg(QLatin1String(kProgramVersion)), this);
    Label1->setObjectName("Label1");
    QFont bold = font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->move(88, 8);
    Label1->resize(Label1->sizeHint());

    Label2 = new QLabel(kNotice, this);
    Label2->setObjectName("Label2");
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setGeometry(88, 24, 193, 33);

    Label5 = new LinkLabel(kProductWebPage, this);
    Label5->setObjectName("Label5");
    Label5->move(88, 56);
    Label5->resize(Label5->sizeHint());

    Label6 = new LinkLabel(kSupportMailAddress, this);
    Label6->setObjectName("Label6");
    Label6->move(88, 72);
    Label6->resize(Label6->sizeHint());

    OKBT = new QPushButton("&OK", this);
    OKBT->setObjectName("OKBT");
    OKBT->setGeometry(312, 8, 43, 25);
    OKBT->setDefault(true);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(8, 168, 345, 65);
    WarningLabel = new QLabel(kWarning, GroupBox1);
    WarningLabel->setObjectName("WarningLabel");
    WarningLabel->setWordWrap(true);
    WarningLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    WarningLabel->setGeometry(8, 8, 329, 51);

    connect(OKBT, &QPushButton::clicked, this, &TAboutForm::OKBTClick);
    connect(Label5, &LinkLabel::clicked, this, &TAboutForm::Label5Click);
    connect(Label6, &LinkLabel::clicked, this, &TAboutForm::Label6Click);
}

void TAboutForm::OKBTClick() {
    accept();
}

// Opening leaves the window up; a desktop without a browser or mail program just shows nothing.
void TAboutForm::Label5Click() {
    opener_.open(kProductWebPage);
}

void TAboutForm::Label6Click() {
    opener_.open(std::string("mailto:") + kSupportMailAddress);
}

} // namespace velloran
