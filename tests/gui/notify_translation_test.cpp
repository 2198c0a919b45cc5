// The alarm and memo windows and the desktop services' dialogs in another language: every text they show
// is asked of the installed translator, what a program or the stored files read stays as it is, and German
// captions fit their controls.
#include "marking_translator.h"
#include "stand_ins.h"
#include "window_checks.h"

#include "look/fonts.h"
#include "notify/alarm_clock_form.h"
#include "notify/memo_form.h"
#include "notify/notification_window_table.h"
#include "platform/file_dialogs.h"
#include "platform/message_box.h"
#include "platform/ringing_sounds.h"
#include "platform/timer.h"

#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <memory>

using namespace velloran;

namespace {

// The German of the windows' texts, as the German glossary has them; what it lacks stays English.
class GermanTranslator final : public QTranslator {
public:
    QString translate(const char* /*context*/, const char* sourceText, const char* /*disambiguation*/,
                      int /*n*/) const override {
        static const QHash<QString, QString> german = {
            {"Alarm Clock", "Wecker"},
            {"Turn &off alarm", "&Ausschalten"},
            {"&Snooze", "&Schlummern"},
            {"Snooze time:", "Weckpause:"},
            {"5 min", "5 min"},
            {"10 min", "10 min"},
            {"15 min", "15 min"},
            {"20 min", "20 min"},
            {"25 min", "25 min"},
            {"30 min", "30 min"},
            {"Note:", "Notiz:"},
            {"Alarm clock", "Wecker"},
            {"Snoozing", "Schlummert"},
            {"Memo", "Notiz"},
            {"Note paper", "Notizzettel"},
            {"Close", "Schließen"},
            {"Show", "Anzeigen"},
            {"Snooze", "Schlummern"},
            {"Turn off alarm", "Wecker ausschalten"},
        };
        return german.value(QString::fromUtf8(sourceText));
    }
    bool isEmpty() const override { return false; }
};

QStringList itemsOf(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

QStringList actionLabels(const DesktopNotice& notice) {
    QStringList labels;
    for (const auto& action : notice.actions)
        labels << action.second;
    return labels;
}

QStringList actionKeys(const DesktopNotice& notice) {
    QStringList keys;
    for (const auto& action : notice.actions)
        keys << action.first;
    return keys;
}

} // namespace

class NotifyTranslationTest : public QObject {
    Q_OBJECT

    test::FixedClock clock;
    test::RecordingSoundPlayer sound;
    RingingSounds ringing{sound};
    test::RecordingNotifications notices;
    SettingsRecord settings{};
    std::unique_ptr<NotificationWindowTable> table;
    std::unique_ptr<QTranslator> translator;

    template <typename T> void speak() {
        translator = std::make_unique<T>();
        QCoreApplication::installTranslator(translator.get());
    }
    test::MarkingTranslator& brackets() { return static_cast<test::MarkingTranslator&>(*translator); }

    AlarmClockForm* ring() {
        auto* alarm = new AlarmClockForm(*table, ringing, notices, settings, clock, "/opt/velloran/");
        alarm->showAlarm("Wake up", "bell.wav");
        return alarm;
    }
    MemoForm* note() {
        auto* memo = new MemoForm(*table, sound, notices, clock);
        memo->showMemo("Water the plants", FontBlock{});
        return memo;
    }

private slots:
    void initTestCase() {
        test::quietWindowMaskWarnings();
        installFontSubstitutes();
    }
    void init() {
        sound = test::RecordingSoundPlayer();
        notices = test::RecordingNotifications();
        settings = defaultSettings();
        clock.value = test::at(2024, 3, 9, 7, 15);
        table = std::make_unique<NotificationWindowTable>();
    }
    void cleanup() {
        table.reset();
        if (translator)
            QCoreApplication::removeTranslator(translator.get());
        translator.reset();
    }

    void alarmWindowAsksForEveryText() {
        speak<test::MarkingTranslator>();
        AlarmClockForm* alarm = ring();
        QCOMPARE(alarm->windowTitle(), QString("[Alarm Clock]"));
        QCOMPARE(test::part<QPushButton>(*alarm, "Button1")->text(), QString("[Turn &off alarm]"));
        QCOMPARE(test::part<QPushButton>(*alarm, "SnoozeBT")->text(), QString("[&Snooze]"));
        QCOMPARE(test::part<QLabel>(*alarm, "Label1")->text(), QString("[Snooze time:]"));
        QCOMPARE(test::part<QLabel>(*alarm, "Label2")->text(), QString("[Note:]"));
        QCOMPARE(itemsOf(test::part<QComboBox>(*alarm, "SnoozeTimeCB")),
                 (QStringList{"[5 min]", "[10 min]", "[15 min]", "[20 min]", "[25 min]", "[30 min]"}));
        QCOMPARE(test::part<QLabel>(*alarm, "BackGround")->accessibleName(), QString("[Alarm clock]"));
        QCOMPARE(test::part<QLabel>(*alarm, "ZzImage")->accessibleName(), QString("[Snoozing]"));
        // The mixer lists the sound by the window's caption, in the user's language.
        QCOMPARE(sound.purposes, QStringList{"[Alarm Clock]"});
        const DesktopNotice notice = notices.posted.first();
        // The alarm is named by its note's first line, which is the user's text, not a translator's.
        QCOMPARE(notice.summary, QString("[Alarm Clock] \u2013 Wake up"));
        QCOMPARE(actionLabels(notice), (QStringList{"[Show]", "[Snooze]", "[Turn off alarm]"}));
        // The keys are what the notification service hands back, never shown.
        QCOMPARE(actionKeys(notice), (QStringList{"default", "snooze", "turn-off"}));
        // The design-time time is replaced at once: nothing for a translator.
        QVERIFY(brackets().asked.filter("11:35 am").isEmpty());
    }

    // The stored snooze index chooses the item by its place, whatever the items read.
    void snoozeInAnotherLanguageKeepsItsLength() {
        speak<test::MarkingTranslator>();
        settings.SnoozeTime = 2;
        AlarmClockForm* alarm = ring();
        QCOMPARE(test::part<QComboBox>(*alarm, "SnoozeTimeCB")->currentText(), QString("[15 min]"));
        QVERIFY(notices.choose(notices.newest(), "snooze"));
        QCOMPARE(test::part<Timer>(*alarm, "SnoozeTimer")->interval(), 15 * 60000);
        QVERIFY(!sound.looping);
    }

    void memoWindowAsksForEveryText() {
        speak<test::MarkingTranslator>();
        MemoForm* memo = note();
        QCOMPARE(memo->windowTitle(), QString("[Memo]"));
        QCOMPARE(test::part<QLabel>(*memo, "paperimage")->accessibleName(), QString("[Note paper]"));
        QCOMPARE(test::part<QLabel>(*memo, "Image1")->accessibleName(), QString("[Close]"));
        QCOMPARE(sound.purposes, QStringList{"[Memo]"});
        const DesktopNotice notice = notices.posted.first();
        QCOMPARE(notice.summary, QString("[Memo]"));
        QCOMPARE(notice.body, QString("Water the plants"));
        QCOMPARE(actionLabels(notice), QStringList{"[Show]"});
        QCOMPARE(actionKeys(notice), QStringList{"default"});
        QVERIFY(brackets().asked.filter("datetime").isEmpty());
    }

    void messageBoxCaptionsAndIconNamesAreAsked() {
        speak<test::MarkingTranslator>();
        {
            test::MessageBoxRecorder boxes;
            MessageBoxes::warning(nullptr, QStringLiteral("The time is not valid."));
            MessageBoxes::error(nullptr, QStringLiteral("The task file could not be saved."));
            QCOMPARE(boxes.shown.size(), 2);
            QCOMPARE(boxes.shown[0].caption, QString("[Warning]"));
            QCOMPARE(boxes.shown[0].text, QString("The time is not valid."));
            // The program's name is the same in every language.
            QCOMPARE(boxes.shown[1].caption, QString("Velloran"));
        }
        // The icon's name, which a screen reader says, on a box on the screen.
        QString iconName;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            if (auto* icon = box->findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label")))
                iconName = icon->accessibleName();
            box->reject();
        });
        MessageBoxes::ask(nullptr, {QStringLiteral("Velloran"), QStringLiteral("Delete the task?"),
                                    QMessageBox::Question, QMessageBox::Yes | QMessageBox::No});
        QCOMPARE(iconName, QString("[Question]"));
    }

    void fileDialogTextsAreAsked() {
        speak<test::MarkingTranslator>();
        FileDialogRequest request;
        request.filter = QStringLiteral("Programs (*.exe)|*.exe");
        QCOMPARE(fileChoices(request).last().label, QString("[All files (*)]"));

        QString openTitle;
        QTimer::singleShot(0, this, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                openTitle = dialog->windowTitle();
                dialog->close();
            }
        });
        QCOMPARE(FileDialogs::openFile(nullptr, request), std::nullopt);
        QCOMPARE(openTitle, QString("[Open]"));

        QString fontTitle, colorCaption;
        QStringList colors;
        QTimer::singleShot(0, this, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog == nullptr)
                return;
            fontTitle = dialog->windowTitle();
            for (const QLabel* label : dialog->findChildren<QLabel*>()) {
                if (label->buddy() != nullptr && qobject_cast<QComboBox*>(label->buddy()) != nullptr &&
                    label->buddy()->parent() == dialog) {
                    colorCaption = label->text();
                    colors = itemsOf(static_cast<QComboBox*>(label->buddy()));
                }
            }
            dialog->close();
        });
        QVERIFY(!FileDialogs::chooseFont(nullptr, {designFont(), QColor(0x12, 0x34, 0x56)}).has_value());
        QCOMPARE(fontTitle, QString("[Font]"));
        QCOMPARE(colorCaption, QString("[&Color:]"));
        QCOMPARE(colors.size(), 17);
        QCOMPARE(colors.first(), QString("[Black]"));
        QCOMPARE(colors.at(15), QString("[White]"));
        QCOMPARE(colors.last(), QString("[Custom]"));
    }

    void germanCaptionsFit() {
        speak<GermanTranslator>();
        AlarmClockForm* alarm = ring();
        MemoForm* memo = note();
        QCOMPARE(test::part<QPushButton>(*alarm, "Button1")->text(), QString("&Ausschalten"));
        QCOMPARE(test::part<QLabel>(*alarm, "Label1")->text(), QString("Weckpause:"));
        QVERIFY(QTest::qWaitForWindowExposed(alarm));
        QVERIFY(QTest::qWaitForWindowExposed(memo));
        QStringList clipped = test::clippedCaptions(*alarm, {"BackGround"});
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(" | "))));
        QVERIFY(test::picture(*alarm, QStringLiteral("alarm-clock-de.png")));
        QTest::mouseClick(test::part<QPushButton>(*alarm, "SnoozeBT"), Qt::LeftButton);
        clipped = test::clippedCaptions(*alarm, {"BackGround"});
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(" | "))));
        clipped = test::clippedCaptions(*memo);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(" | "))));
        QVERIFY(test::picture(*memo, QStringLiteral("memo-de.png")));
    }
};

QTEST_MAIN(NotifyTranslationTest)
#include "notify_translation_test.moc"
