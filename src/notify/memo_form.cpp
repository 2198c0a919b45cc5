#include "memo_form.h"
#include "ui_memo_form.h"

#include "clickable_picture.h"
#include "notification_window_table.h"
#include "notify_texts.h"
#include "window_drag.h"

#include "common/text.h"
#include "look/artwork.h"
#include "look/fonts.h"
#include "platform/sound_player.h"

#include <QLocale>
#include <QShowEvent>

namespace velloran {
namespace {

const QSize kPaperBox(393, 513);

} // namespace

MemoForm::MemoForm(NotificationWindowTable& table, SoundPlayer& sound, DesktopNotifications& notifications,
                   const Clock& clock)
    : NotificationForm(notifications, QAccessible::Window), ui_(std::make_unique<Ui::MemoForm>()),
      table_(table), sound_(sound), clock_(clock) {
    ui_->setupUi(this);
    drawArtwork();
    connect(ui_->Image1, &ClickablePicture::clicked, this, &QWidget::close);
    drag_ = new WindowDrag(this);
    drag_->addHandle(ui_->paperimage);
    drag_->addHandle(ui_->Memo1);
}

MemoForm::~MemoForm() = default;

// The pictures are rendered for the screen's pixel ratio and the outline follows the paper: neither can
// be said in the form.
void MemoForm::drawArtwork() {
    setRimColor(kMemoPaperEdgeColor);
    QPixmap paper = picture(kMemoPaperPicture, kPaperBox, devicePixelRatioF());
    ArtworkWords heading = kMemoHeading;
    heading.text = tr("Memo");
    drawArtworkWords(paper, kMemoPaperSize, heading);
    ui_->paperimage->setPixmap(paper);
    ui_->Image1->setPixmap(picture(kMemoClosePicture, kMemoCloseSize, devicePixelRatioF()));
    const QRegion shape = pictureShape(kMemoPaperPicture, kPaperBox);
    setShape(shape.isEmpty() ? QRegion(rect()) : shape); // without its picture the note shows whole
}

void MemoForm::showMemo(const std::string& text, const FontBlock& font) {
    table_.registerWindow(this);
    ui_->Label1->setText(memoShownText(clock_.now(), QLocale()));
    // The moment shown takes the size of its text, as long as the locale writes it.
    ui_->Label1->adjustSize();
    QString memo = QString::fromStdString(displayUtf8(text));
    memo.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ui_->Memo1->setText(memo);
    applyFont(font);
    show();
    postNotice({windowTitle(), firstLineOf(memo), false, {{QStringLiteral("default"), tr("Show")}}});
}

// Character set, colour, face, size and style, in that order. Qt chooses the character set by the text
// itself, so the stored code has nothing left to select.
void MemoForm::applyFont(const FontBlock& font) {
    QPalette palette = ui_->Memo1->palette();
    palette.setColor(QPalette::WindowText, colorFromValue(font.FontColor));
    ui_->Memo1->setPalette(palette);
    ui_->Memo1->setFont(fontFromBlock(withCountedFaceName(font), ui_->Memo1->font()));
}

QColor MemoForm::memoColor() const {
    return ui_->Memo1->palette().color(QPalette::WindowText);
}

// The note alerts as it appears, once for each showing the program asks for.
void MemoForm::showEvent(QShowEvent* event) {
    NotificationForm::showEvent(event);
    if (!event->spontaneous())
        sound_.beep(windowTitle());
}

} // namespace velloran
