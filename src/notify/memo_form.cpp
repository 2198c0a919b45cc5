#include "memo_form.h"

#include "clickable_picture.h"
#include "notification_window_table.h"
#include "notify_texts.h"
#include "window_drag.h"

#include "common/text.h"
#include "look/artwork.h"
#include "look/fonts.h"
#include "platform/sound_player.h"

#include <QLabel>
#include <QLocale>
#include <QShowEvent>

namespace velloran {
namespace {

const QSize kPaperBox(393, 513);

// The memo's first line that holds anything, which the desktop's notification service shows.
QString firstLine(const QString& memo) {
    for (const QString& line : memo.split(u'\n')) {
        if (!line.trimmed().isEmpty())
            return line.trimmed();
    }
    return {};
}

} // namespace

TMemoForm::TMemoForm(NotificationWindowTable& table, SoundPlayer& sound, DesktopNotifications& notifications,
                     const Clock& clock)
    : NotificationForm(QStringLiteral("Memo"), QSize(393, 521), notifications), table_(table), sound_(sound),
      clock_(clock) {
    createControls();
}

void TMemoForm::createControls() {
    setRimColor(kMemoPaperEdgeColor);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);

    paperimage = new QLabel(this);
    paperimage->setObjectName("paperimage");
    paperimage->setAccessibleName(QStringLiteral("Note paper"));
    paperimage->setGeometry(QRect(QPoint(0, 0), kPaperBox));
    paperimage->setPixmap(picture(kMemoPaperPicture, kPaperBox, devicePixelRatioF()));

    Image1 = new ClickablePicture(QStringLiteral("Close"), this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(QRect(QPoint(360, 24), kMemoCloseSize));
    Image1->setPixmap(picture(kMemoClosePicture, kMemoCloseSize, devicePixelRatioF()));
    connect(Image1, &ClickablePicture::clicked, this, &TMemoForm::Image1Click);

    Memo1 = new QLabel(this);
    Memo1->setObjectName("Memo1");
    Memo1->setGeometry(16, 80, 369, 409);
    Memo1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Memo1->setWordWrap(true);
    // The memo is shown as typed: markup in it is text, never formatting.
    Memo1->setTextFormat(Qt::PlainText);

    Label1 = new QLabel(QStringLiteral("datetime"), this);
    Label1->setObjectName("Label1");
    QFont bold = font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->move(56, 496);
    Label1->adjustSize();

    drag_ = new WindowDrag(this);
    drag_->addHandle(paperimage);
    drag_->addHandle(Memo1);

    const QRegion shape = pictureShape(kMemoPaperPicture, kPaperBox);
    setShape(shape.isEmpty() ? QRegion(rect()) : shape); // without its picture the note shows whole
}

void TMemoForm::ShowMemo(const std::string& text, const FontBlock& font) {
    table_.registerWindow(this);
    Label1->setText(memoShownText(clock_.now(), QLocale()));
    Label1->adjustSize();
    QString memo = QString::fromStdString(displayUtf8(text));
    memo.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Memo1->setText(memo);
    applyFont(font);
    show();
    postNotice({QStringLiteral("Memo"),
                firstLine(memo),
                false,
                {{QStringLiteral("default"), QStringLiteral("Show")}}});
}

// Character set, colour, face, size and style, in that order. Qt chooses the character set by the text
// itself, so the stored code has nothing left to select.
void TMemoForm::applyFont(const FontBlock& font) {
    QPalette palette = Memo1->palette();
    palette.setColor(QPalette::WindowText, colorFromValue(font.FontColor));
    Memo1->setPalette(palette);
    Memo1->setFont(fontFromBlock(withCountedFaceName(font), Memo1->font()));
}

QColor TMemoForm::memoColor() const {
    return Memo1->palette().color(QPalette::WindowText);
}

void TMemoForm::showEvent(QShowEvent* event) {
    NotificationForm::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TMemoForm::FormShow() {
    sound_.beep(windowTitle());
}

void TMemoForm::Image1Click() {
    close();
}

} // namespace velloran
