// Enter on a message box chooses its first button (OK, Yes) whatever order the desktop lays the buttons
// out in, on every box the program shows with more than one button; a second start asks for its
// activation token while its question is still on screen.
#include "main_form_support.h"
#include "platform/message_box.h"
#include "shell/second_start.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>

using namespace velloran;
using namespace velloran::test;

namespace {

// The buttons' order of one desktop: GNOME and XFCE show "Cancel | OK", Windows "OK | Cancel".
class ButtonLayoutStyle : public QProxyStyle {
public:
    explicit ButtonLayoutStyle(QDialogButtonBox::ButtonLayout layout) : layout_(layout) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_DialogButtonLayout)
            return layout_;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }

private:
    QDialogButtonBox::ButtonLayout layout_;
};

// What the box looked like when Enter was pressed on it.
struct SeenBox {
    QString caption;
    QStringList buttonsLeftToRight;
    bool aboveOthers = false; // opens above a ringing alarm clock, which stays above other windows
};

// Once the next message box shows, notes its caption and buttons and presses Enter on it as a person
// does: the key goes to the widget that has the focus.
void pressEnterOnNextBox(SeenBox& seen) {
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        seen.caption = box->windowTitle();
        seen.aboveOthers = box->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
        auto buttons = box->findChildren<QPushButton*>();
        std::sort(buttons.begin(), buttons.end(), [](QPushButton* a, QPushButton* b) {
            return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
        });
        for (auto* button : buttons)
            if (button->isVisible())
                seen.buttonsLeftToRight << button->text().remove('&');
        QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : box;
        QTest::keyClick(target, Qt::Key_Return);
        // A box that Enter did not end is ended here, so that the test fails instead of hanging.
        QTimer::singleShot(0, [shown = QPointer<QMessageBox>(box)] {
            if (shown != nullptr && shown->isVisible())
                shown->reject();
        });
    });
}

// Once the next message box shows, pictures it as `name`, notes the captions it cuts off, and closes it
// with Escape.
void pictureNextBox(const QString& name, QStringList& clipped) {
    QTimer::singleShot(0, [name, &clipped] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        clipped = test::clippedCaptions(*box);
        if (!test::picture(*box, name))
            clipped << QStringLiteral("no picture");
        QTest::keyClick(box, Qt::Key_Escape);
    });
}

} // namespace

class MessageBoxKeysTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QApplication::setStyle(QStringLiteral("Fusion")); }

    void enterChoosesTheFirstButtonInEveryLayout_data() {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("first");
        QTest::addColumn<QStringList>("shown");
        const int okCancel = QMessageBox::Ok | QMessageBox::Cancel;
        const int yesNo = QMessageBox::Yes | QMessageBox::No;
        QTest::newRow("GNOME, OK and Cancel") << int(QDialogButtonBox::GnomeLayout) << okCancel
                                              << int(QMessageBox::Ok) << QStringList{"Cancel", "OK"};
        QTest::newRow("GNOME, Yes and No") << int(QDialogButtonBox::GnomeLayout) << yesNo
                                           << int(QMessageBox::Yes) << QStringList{"No", "Yes"};
        QTest::newRow("Windows, OK and Cancel") << int(QDialogButtonBox::WinLayout) << okCancel
                                                << int(QMessageBox::Ok) << QStringList{"OK", "Cancel"};
        QTest::newRow("KDE, Yes and No")
            << int(QDialogButtonBox::KdeLayout) << yesNo << int(QMessageBox::Yes) << QStringList{"Yes", "No"};
        QTest::newRow("macOS, OK and Cancel") << int(QDialogButtonBox::MacLayout) << okCancel
                                              << int(QMessageBox::Ok) << QStringList{"Cancel", "OK"};
    }
    void enterChoosesTheFirstButtonInEveryLayout() {
        QFETCH(int, layout);
        QFETCH(int, buttons);
        QFETCH(int, first);
        QFETCH(QStringList, shown);
        QApplication::setStyle(new ButtonLayoutStyle(QDialogButtonBox::ButtonLayout(layout)));
        SeenBox seen;
        pressEnterOnNextBox(seen);
        const auto answer = MessageBoxes::ask(
            nullptr, {"Question", "Go on?", QMessageBox::Question, QMessageBox::StandardButtons(buttons)});
        // The layout really was the desktop's: otherwise the test proves nothing about the order.
        QCOMPARE(seen.buttonsLeftToRight, shown);
        QVERIFY(seen.aboveOthers);
        QCOMPARE(int(answer), first);
    }

    void theDefaultIsTheFirstButtonAsWritten() {
        QCOMPARE(MessageBoxes::defaultButton(QMessageBox::Cancel | QMessageBox::Ok), QMessageBox::Ok);
        QCOMPARE(MessageBoxes::defaultButton(QMessageBox::No | QMessageBox::Yes), QMessageBox::Yes);
        QCOMPARE(MessageBoxes::defaultButton(QMessageBox::Ok), QMessageBox::Ok);
        QCOMPARE(MessageBoxes::defaultButton(QMessageBox::NoButton), QMessageBox::NoButton);
    }

    // The second start's question, shown "Cancel | OK": Enter means OK, and the token for the running
    // window is asked for and sent while the question is still on screen, as the compositor needs.
    void enterOnTheSecondStartsQuestionRestores() {
        QApplication::setStyle(new ButtonLayoutStyle(QDialogButtonBox::GnomeLayout));
        SeenBox seen;
        pressEnterOnNextBox(seen);
        bool questionShownWhenAsked = false;
        bool questionShownWhenSent = false;
        std::vector<RestoreRequest> sent;
        const auto answer = askAboutRunningInstance(
            {"", "launcher-4711_TIME12"},
            [&sent, &questionShownWhenSent](const RestoreRequest& request) {
                sent.push_back(request);
                const auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                questionShownWhenSent = box != nullptr && box->isVisible();
            },
            [&questionShownWhenAsked](QWidget* question) {
                questionShownWhenAsked = question != nullptr && question->isVisible() &&
                                         question->windowTitle() == QLatin1String("Application running");
                return QStringLiteral("compositor-token-1");
            });
        QCOMPARE(seen.caption, QString("Application running"));
        QCOMPARE(seen.buttonsLeftToRight, (QStringList{"Cancel", "OK"}));
        QCOMPARE(answer, QMessageBox::Ok);
        QVERIFY(questionShownWhenAsked);
        // The running window uses the token while the question still holds the focus it was given for.
        QVERIFY(questionShownWhenSent);
        QCOMPARE(sent.size(), std::size_t(1));
        QCOMPARE(sent[0].activationToken, std::string("compositor-token-1"));
        QCOMPARE(sent[0].startupId, std::string("launcher-4711_TIME12"));
    }

    void aLaunchersTokenGoesFirstAndCancelSendsNothing() {
        int asked = 0;
        std::vector<RestoreRequest> sent;
        const auto restore = [&sent](const RestoreRequest& request) { sent.push_back(request); };
        const auto token = [&asked](QWidget*) {
            ++asked;
            return QStringLiteral("compositor-token-2");
        };
        SeenBox seen;
        pressEnterOnNextBox(seen);
        askAboutRunningInstance({"launcher-token", ""}, restore, token);
        QCOMPARE(sent.size(), std::size_t(1));
        QCOMPARE(sent[0].activationToken, std::string("launcher-token"));
        QCOMPARE(asked, 0);

        QTimer::singleShot(0, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(askAboutRunningInstance({}, restore, token), QMessageBox::Cancel);
        QCOMPARE(sent.size(), std::size_t(1));
        QCOMPARE(asked, 0);
    }

    // The main window's Exit question, shown "No | Yes": Enter means Yes and the program ends.
    void enterOnTheExitQuestionExits() {
        QApplication::setStyle(new ButtonLayoutStyle(QDialogButtonBox::GnomeLayout));
        MainFormBench bench;
        auto form = bench.makeForm();
        form->show();
        SeenBox seen;
        pressEnterOnNextBox(seen);
        test::choose(*form, "Exit2");
        QCOMPARE(seen.caption, QString("Exit"));
        QCOMPARE(seen.buttonsLeftToRight, (QStringList{"No", "Yes"}));
        QVERIFY(seen.aboveOthers);
        QVERIFY(!form->isVisible());
    }

    // The two questions as the desktop shows them, whole and pictured (also in German).
    void questionsArePictured() {
        MainFormBench bench;
        auto form = bench.makeForm();
        form->show();
        QStringList clipped{QStringLiteral("not shown")};
        pictureNextBox(QStringLiteral("exit-question.png"), clipped);
        test::choose(*form, "Exit2");
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(" | "))));
        QVERIFY(form->isVisible());

        clipped = QStringList{QStringLiteral("not shown")};
        pictureNextBox(QStringLiteral("second-start-question.png"), clipped);
        QCOMPARE(askAboutRunningInstance(
                     {}, [](const RestoreRequest&) {}, [](QWidget*) { return QString(); }),
                 QMessageBox::Cancel);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(" | "))));
    }
};

QTEST_MAIN(MessageBoxKeysTest)
#include "message_box_keys_test.moc"
