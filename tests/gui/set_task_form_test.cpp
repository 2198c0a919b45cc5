#include "common/text.h"
#include "editor/button_page_control.h"
#include "editor_test_support.h"
#include "look/fonts.h"
#include "platform/file_dialogs.h"
#include "platform/message_box.h"
#include "store/task_file.h"
#include "store/task_kinds.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

using namespace velloran;
using test::at;

namespace {

QString text(const TaskText& stored) {
    return QString::fromStdString(stored.str());
}

// A task that lies in the future of the bench's clock.
Task storedTask(TaskKind kind, std::uint32_t id) {
    Task task = test::makeTask(kind, at(2024, 5, 31, 7, 45, 30), kMonthly, kRunIfMissed, 0x22);
    task.TaskId = id;
    task.Target = "";
    task.Description = "stored description";
    return task;
}

} // namespace

class SetTaskFormTest : public QObject {
    Q_OBJECT
private:
    test::MessageBoxRecorder recorder;
    QList<MessageBoxRequest>& boxes = recorder.shown;

    // Moves the start of an open editor to tomorrow at 09:00.
    static void startTomorrow(SetTaskForm& form) {
        test::controls(form).DatePicker->setDate(QDate(2024, 3, 11));
        test::controls(form).TimePicker->setTime(QTime(9, 0));
    }

private slots:
    void initTestCase() { installFontSubstitutes(); }

    void init() {
        boxes.clear();
        recorder.install();
    }

    void cleanup() {
        MessageBoxes::setHandler({});
        FileDialogs::setFileHandler({});
        FileDialogs::setFontHandler({});
    }

    void initialState() {
        test::EditorBench bench;
        bench.clock.value = at(2024, 3, 10, 12, 34, 56);
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        form->prepareNewTask(kNoPage);
        QCOMPARE(form->windowTitle(), QStringLiteral("Task Setup"));
        QCOMPARE(form->size(), QSize(601, 385));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QVERIFY(!(form->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(form->windowFlags() & Qt::WindowSystemMenuHint));
        QCOMPARE(ui.GroupBox1->title(), QStringLiteral("Start Date && Time"));
        QCOMPARE(ui.DatePicker->date(), QDate(2024, 3, 10));
        QCOMPARE(ui.TimePicker->time().toString(QStringLiteral("HH:mm:ss")), QStringLiteral("12:34:56"));
        QCOMPARE(ui.RepeatTypeCB->count(), 5);
        QCOMPARE(ui.RepeatTypeCB->itemText(4), QStringLiteral("Yearly"));
        QCOMPARE(ui.RepeatTypeCB->currentText(), QStringLiteral("Once"));
        QVERIFY(!ui.RepeatTypeCB->isEditable());
        QVERIFY(ui.AutoDeleteCK->isChecked() && ui.AutoDeleteCK->isEnabled());
        QVERIFY(ui.TaskMissedRunRB->isChecked() && !ui.TaskMissedSkipRB->isChecked());
        QVERIFY(ui.StatusEnabledRB->isChecked() && !ui.StatusDisabledRB->isChecked());
        for (QCheckBox* day : ui.DayBoxes)
            QVERIFY(day->isChecked() && !day->isEnabled());
        QCOMPARE(ui.DayBoxes[0]->text(), QStringLiteral("Sun"));
        QCOMPARE(ui.DayBoxes[6]->text(), QStringLiteral("Sat"));
        QCOMPARE(ui.PageControl->count(), 8);
        QCOMPARE(ui.PageControl->activePageIndex(), -1);
        QCOMPARE(ui.WebAddress->text(), QStringLiteral("http://"));
        QCOMPARE(ui.ExeArg->toolTip(), QStringLiteral("Command line arguments to pass to executable"));
        QCOMPARE(ui.AlarmSoundCB->count(), 0); // no Sounds folder
        QCOMPARE(ui.AlarmSoundCB->currentIndex(), -1);
        QVERIFY(form->isNewTask());
        for (QPushButton* button : form->findChildren<QPushButton*>())
            QVERIFY(!button->autoDefault() && !button->isDefault());
    }

    // Each kind's page carries the names that the kind table gives the kind, and its own captions.
    void pagesFollowTheKindTable() {
        struct Captions {
            const char* page;
            const char* prompt; // the label of the target box
            const char* button; // the button beside it
        };
        const Captions captions[kTaskKindCount] = {
            {"Alarm Clock", nullptr, nullptr},
            {"Memo", nullptr, nullptr},
            {"Run Executable", "Type full path or browse for program to execute.", "Browse..."},
            {"Open Webpage",
             "Type the address of the web page to open. Include any parameters. ( must use http:// or ftp:// "
             ")",
             "&Verify"},
            {"Play Audio", "Type full path or browse for audio file to play.", "Browse..."},
            {"Play Video", "Type full path or browse for video file to play.", "Browse..."},
            {"Open Document", "Type full path or browse for document to open.", "Browse..."},
            {"General", "Type full path or browse for file to open.", "Browse..."},
        };
        test::EditorBench bench;
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        ButtonPageControl* pages = ui.PageControl;
        QCOMPARE(pages->count(), kTaskKindCount);
        const auto str = [](std::string_view text) { return QString::fromUtf8(text.data(), text.size()); };
        for (int kind = 0; kind < kTaskKindCount; ++kind) {
            const TaskKindInfo& info = *taskKind(kind);
            QWidget* page = pages->page(kind);
            QCOMPARE(page->objectName(), str(info.pageName));
            QCOMPARE(pages->pageButton(kind)->objectName(), str(info.pageName) + QStringLiteral("Button"));
            QCOMPARE(pages->pageButton(kind)->text(), QString::fromUtf8(captions[kind].page));
            QWidget* description = page->findChild<QWidget*>(str(info.descriptionName));
            QVERIFY2(description != nullptr, info.descriptionName.data());
            if (info.target == KindTarget::Fixed)
                continue;
            auto* target = page->findChild<QLineEdit*>(str(info.targetBoxName));
            QVERIFY2(target != nullptr, info.targetBoxName.data());
            auto* button = page->findChild<QPushButton*>(str(info.buttonName));
            QVERIFY2(button != nullptr, info.buttonName.data());
            QCOMPARE(button->text(), QString::fromUtf8(captions[kind].button));
            QStringList prompts;
            for (QLabel* label : page->findChildren<QLabel*>()) {
                if (label->buddy() == target)
                    prompts << label->text();
            }
            QCOMPARE(prompts, QStringList{QString::fromUtf8(captions[kind].prompt)});
        }
    }

    // Tab walks the top of the window, then each page's button followed by that page's controls.
    void tabOrder() {
        test::EditorBench bench;
        auto form = bench.makeForm();
        QStringList chain;
        QWidget* widget = form.get();
        do {
            if (widget->focusPolicy() != Qt::NoFocus &&
                !widget->objectName().startsWith(QLatin1String("qt_")))
                chain << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != form.get());
        const QStringList expected =
            QStringLiteral(
                "DatePicker TimePicker RepeatTypeCB AutoDeleteCK TaskMissedRunRB TaskMissedSkipRB "
                "StatusEnabledRB "
                "StatusDisabledRB SunCK MonCK TueCK WedCK ThuCK FriCK SatCK AlarmSheetButton AlarmSoundCB "
                "PlaySndBT "
                "StopSndBT AlarmDescription MemoSheetButton MemoDescription SetFontBT ExeSheetButton ExePath "
                "BrowseExe ExeArg ExeDescription WebSheetButton WebAddress WebVerify WebDescription "
                "AudioSheetButton "
                "AudioPath BrowseAudio AudioDescription VideoSheetButton VideoPath BrowseVideo "
                "VideoDescription "
                "DocSheetButton DocPath BrowseDoc DocDescription GeneralSheetButton GeneralPath "
                "BrowseGeneral "
                "GeneralDescription SaveBT CancelBT")
                .split(QLatin1Char(' '));
        QCOMPARE(chain, expected);
    }

    // A page's button shows the page's title and follows it when the title changes, as a change of
    // language does; the row makes room for the new caption.
    void pageButtonFollowsItsPagesTitle() {
        ButtonPageControl pages;
        pages.resize(585, 190);
        for (const char* name : {"FirstSheet", "SecondSheet"}) {
            auto* page = new QWidget(&pages);
            page->setObjectName(QString::fromLatin1(name));
            page->setWindowTitle(QString::fromLatin1(name).chopped(5));
            pages.addPage(page);
        }
        QCOMPARE(pages.count(), 2);
        QCOMPARE(pages.pageButton(0)->objectName(), QStringLiteral("FirstSheetButton"));
        QCOMPARE(pages.pageButton(0)->text(), QStringLiteral("First"));
        const int secondLeft = pages.pageButton(1)->x();
        pages.page(0)->setWindowTitle(QStringLiteral("Erste Seite mit langem Titel"));
        QCOMPARE(pages.pageButton(0)->text(), QStringLiteral("Erste Seite mit langem Titel"));
        QCOMPARE(pages.pageButton(1)->text(), QStringLiteral("Second"));
        QVERIFY(pages.pageButton(1)->x() > secondLeft);
        QCOMPARE(pages.pageButton(1)->x(), pages.pageButton(0)->geometry().right() + 3);
    }

    void newTaskOpensOnItsKindsPage() {
        test::EditorBench bench;
        for (int kind = 0; kind < kTaskKindCount; ++kind) {
            auto form = bench.makeForm();
            const test::EditorControls ui = test::controls(*form);
            form->prepareNewTask(kind);
            QCOMPARE(ui.PageControl->activePageIndex(), kind);
            QVERIFY(ui.PageControl->pageButton(kind)->isChecked());
        }
        for (const int outside : {-1, 8, 42}) {
            auto form = bench.makeForm();
            const test::EditorControls ui = test::controls(*form);
            form->prepareNewTask(outside);
            QCOMPARE(ui.PageControl->activePageIndex(), -1);
        }
    }

    void pageButtonsSwitchPagesAndKeepTheirTexts() {
        test::EditorBench bench;
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        form->prepareNewTask(kNoPage);
        QTest::mouseClick(ui.PageControl->pageButton(kDocument), Qt::LeftButton);
        QCOMPARE(ui.PageControl->activePageIndex(), int{kDocument});
        ui.DocPath->setText(QStringLiteral("/tmp/report.txt"));
        QTest::mouseClick(ui.PageControl->pageButton(kAudio), Qt::LeftButton);
        QCOMPARE(ui.PageControl->activePageIndex(), int{kAudio});
        QCOMPARE(ui.AudioPath->text(), QString());
        QCOMPARE(ui.DocPath->text(), QStringLiteral("/tmp/report.txt"));
        QCOMPARE(ui.PageControl->pageButton(kDocument)->isChecked(), false);
    }

    void repeatTypeChangesOnlyWhatIsEnabled() {
        test::EditorBench bench;
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        form->prepareNewTask(kAlarmClock);
        form->show();
        ui.RepeatTypeCB->setFocus();
        QTest::keyClick(ui.RepeatTypeCB, Qt::Key_Down); // Daily
        QCOMPARE(ui.RepeatTypeCB->currentIndex(), int{kDaily});
        QVERIFY(!ui.AutoDeleteCK->isEnabled());
        QVERIFY(ui.AutoDeleteCK->isChecked());
        for (QCheckBox* day : ui.DayBoxes)
            QVERIFY(day->isEnabled() && day->isChecked());
        ui.DayBoxes[3]->setChecked(false);

        QTest::keyClick(ui.RepeatTypeCB, Qt::Key_Down); // Weekly
        QVERIFY(!ui.AutoDeleteCK->isEnabled());
        for (QCheckBox* day : ui.DayBoxes)
            QVERIFY(!day->isEnabled());
        QVERIFY(!ui.DayBoxes[3]->isChecked());
        QVERIFY(ui.DayBoxes[4]->isChecked());

        ui.AutoDeleteCK->setChecked(false);
        QTest::keyClick(ui.RepeatTypeCB, Qt::Key_Up);
        QTest::keyClick(ui.RepeatTypeCB, Qt::Key_Up); // Once
        QVERIFY(ui.AutoDeleteCK->isEnabled());
        QVERIFY(!ui.AutoDeleteCK->isChecked());
        QVERIFY(!ui.DayBoxes[0]->isEnabled());
    }

    void soundListFromTheSoundsFolder() {
        test::EditorBench bench;
        bench.addSound(QStringLiteral("rooster.wav"));
        bench.addSound(QStringLiteral("Bell.WAV"));
        bench.addSound(QStringLiteral("alarm.wav"));
        bench.addSound(QStringLiteral(".hidden.wav"));
        bench.addSound(QStringLiteral("readme.txt"));
        QDir(bench.dir.path()).mkpath(QStringLiteral("Sounds/folder.wav"));
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        QComboBox* sounds = ui.AlarmSoundCB;
        QCOMPARE(sounds->count(), 3);
        QCOMPARE(sounds->itemText(0), QStringLiteral("alarm.wav"));
        QCOMPARE(sounds->itemText(1), QStringLiteral("Bell.WAV"));
        QCOMPARE(sounds->itemText(2), QStringLiteral("rooster.wav"));
        QCOMPARE(sounds->currentIndex(), 0);
        QVERIFY(!sounds->isEditable());
    }

    void playStopAndCloseDriveTheSoundPlayer() {
        test::EditorBench bench;
        bench.addSound(QStringLiteral("alarm.wav"));
        bench.addSound(QStringLiteral("bell.wav"));
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        form->prepareNewTask(kAlarmClock);
        ui.AlarmSoundCB->setCurrentIndex(1);
        QTest::mouseClick(ui.PlaySndBT, Qt::LeftButton);
        QTest::mouseClick(ui.PlaySndBT, Qt::LeftButton);
        const QString expected =
            QString::fromStdString(bench.programDirectory()) + QStringLiteral("Sounds/bell.wav");
        QCOMPARE(bench.sound.played, (QStringList{expected, expected}));
        QCOMPARE(bench.sound.purposes, (QStringList{"Task Setup", "Task Setup"}));
        QTest::mouseClick(ui.StopSndBT, Qt::LeftButton);
        QCOMPARE(bench.sound.stops, 1);
        QTest::mouseClick(ui.StopSndBT, Qt::LeftButton); // nothing left to stop
        QCOMPARE(bench.sound.stops, 1);
        QTest::mouseClick(ui.PlaySndBT, Qt::LeftButton);
        QTest::mouseClick(ui.CancelBT, Qt::LeftButton); // closing ends the preview
        QCOMPARE(bench.sound.stops, 2);
        QVERIFY(!bench.sound.looping);
    }

    // An alarm that rings while Task Setup is open is heard again when the preview stops, and closing
    // Task Setup does not silence it.
    void thePreviewNeverSilencesARingingAlarm() {
        test::EditorBench bench;
        bench.addSound(QStringLiteral("bell.wav"));
        const int alarm = 0;
        bench.sounds.ring(&alarm, QStringLiteral("/sounds/alarm.wav"), QStringLiteral("Alarm Clock"));
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        form->prepareNewTask(kAlarmClock);
        QTest::mouseClick(ui.PlaySndBT, Qt::LeftButton);
        QCOMPARE(bench.sound.purposes.last(), QStringLiteral("Task Setup"));
        QTest::mouseClick(ui.StopSndBT, Qt::LeftButton);
        QCOMPARE(bench.sound.played.last(), QStringLiteral("/sounds/alarm.wav"));
        QCOMPARE(bench.sound.purposes.last(), QStringLiteral("Alarm Clock"));
        QTest::mouseClick(ui.PlaySndBT, Qt::LeftButton);
        QTest::mouseClick(ui.CancelBT, Qt::LeftButton);
        QCOMPARE(bench.sound.played.last(), QStringLiteral("/sounds/alarm.wav"));
        QVERIFY(bench.sound.looping);
        QCOMPARE(bench.sound.stops, 0);
        // A form closed without a preview leaves the alarm as it was.
        auto again = bench.makeForm();
        again->prepareNewTask(kMemo);
        const int heardBefore = static_cast<int>(bench.sound.played.size());
        QTest::mouseClick(test::controls(*again).CancelBT, Qt::LeftButton);
        QCOMPARE(bench.sound.played.size(), heardBefore);
        QCOMPARE(bench.sounds.heard(), static_cast<const void*>(&alarm));
        QCOMPARE(bench.sound.stops, 0);
        // Nor does a preview outlive its window when the window goes without being closed.
        auto dropped = bench.makeForm();
        dropped->prepareNewTask(kAlarmClock);
        QTest::mouseClick(test::controls(*dropped).PlaySndBT, Qt::LeftButton);
        dropped.reset();
        QCOMPARE(bench.sounds.heard(), static_cast<const void*>(&alarm));
        QCOMPARE(bench.sound.played.last(), QStringLiteral("/sounds/alarm.wav"));
    }

    void editFillsTheControlsOfEachKind() {
        test::EditorBench bench;
        bench.addSound(QStringLiteral("Rooster.wav"));
        bench.addSound(QStringLiteral("Bell.wav"));
        for (int kind = 0; kind < kTaskKindCount; ++kind) {
            Task task = storedTask(static_cast<TaskKind>(kind), 1000u + static_cast<unsigned>(kind));
            task.Target = kind == kWebAddress ? "https://example.org/page" : "/srv/target file";
            task.ExeArguments = "--verbose";
            task.AlarmSound = "ROOSTER.WAV";
            bench.addStored(task);
        }
        for (int kind = 0; kind < kTaskKindCount; ++kind) {
            auto form = bench.makeForm();
            const test::EditorControls ui = test::controls(*form);
            QVERIFY(form->prepareEditTask(1000u + static_cast<unsigned>(kind)));
            QVERIFY(!form->isNewTask());
            QCOMPARE(form->editedTaskId(), 1000u + static_cast<unsigned>(kind));
            QCOMPARE(ui.PageControl->activePageIndex(), kind);
            QCOMPARE(ui.DatePicker->date(), QDate(2024, 5, 31));
            QCOMPARE(ui.TimePicker->time().toString(QStringLiteral("HH:mm:ss")), QStringLiteral("07:45:30"));
            QCOMPARE(ui.RepeatTypeCB->currentText(), QStringLiteral("Monthly"));
            QVERIFY(!ui.AutoDeleteCK->isEnabled() && !ui.AutoDeleteCK->isChecked());
            QVERIFY(ui.StatusDisabledRB->isChecked());
            QVERIFY(ui.TaskMissedRunRB->isChecked());
            for (std::size_t day = 0; day < 7; ++day) {
                QVERIFY(!ui.DayBoxes[day]->isEnabled());
                QCOMPARE(ui.DayBoxes[day]->isChecked(), day == 1 || day == 5);
            }
            switch (kind) {
            case kAlarmClock:
                QCOMPARE(ui.AlarmSoundCB->currentText(), QStringLiteral("Rooster.wav"));
                QCOMPARE(ui.AlarmDescription->text(), QStringLiteral("stored description"));
                break;
            case kMemo:
                QCOMPARE(ui.MemoDescription->toPlainText(), QStringLiteral("stored description"));
                break;
            case kExecutable:
                QCOMPARE(ui.ExePath->text(), QStringLiteral("/srv/target file"));
                QCOMPARE(ui.ExeArg->text(), QStringLiteral("--verbose"));
                QCOMPARE(ui.ExeDescription->text(), QStringLiteral("stored description"));
                break;
            case kWebAddress:
                QCOMPARE(ui.WebAddress->text(), QStringLiteral("https://example.org/page"));
                QCOMPARE(ui.WebDescription->text(), QStringLiteral("stored description"));
                break;
            default:
                QCOMPARE(ui.targetBox(kind)->text(), QStringLiteral("/srv/target file"));
                QCOMPARE(ui.descriptionBox(kind)->text(), QStringLiteral("stored description"));
            }
            // Only the task's own page is filled.
            if (kind != kExecutable)
                QCOMPARE(ui.ExePath->text(), QString());
            if (kind != kWebAddress)
                QCOMPARE(ui.WebAddress->text(), QStringLiteral("http://"));
        }
    }

    void editOfAnUnknownIdShowsNothing() {
        test::EditorBench bench;
        auto form = bench.makeForm();
        QCOMPARE(form->showEditTask(7), SetTaskForm::Result::NotShown);
        QVERIFY(!form->isVisible());
        bench.addStored(storedTask(kMemo, 5));
        QCOMPARE(bench.makeForm()->showEditTask(6), SetTaskForm::Result::NotShown);
        QVERIFY(!QFile::exists(bench.taskFile())); // never shown, never closed
    }

    void alarmSoundNoLongerInTheFolderSelectsNothing() {
        test::EditorBench bench;
        bench.addSound(QStringLiteral("bell.wav"));
        Task task = storedTask(kAlarmClock, 9);
        task.AlarmSound = "gone.wav";
        bench.addStored(task);
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        QVERIFY(form->prepareEditTask(9));
        QCOMPARE(ui.AlarmSoundCB->currentIndex(), -1);
        QCOMPARE(ui.AlarmSoundCB->currentText(), QString());
    }

    void damagedKindOpensWithNoPageAndNoTexts() {
        test::EditorBench bench;
        Task task = storedTask(kExecutable, 9);
        task.TaskType = 9;
        task.RepeatType = 17;
        task.Target = "/bin/sh";
        bench.addStored(task);
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        QVERIFY(form->prepareEditTask(9));
        QCOMPARE(ui.PageControl->activePageIndex(), -1);
        QCOMPARE(ui.RepeatTypeCB->currentIndex(), int{kOnce});
        for (QLineEdit* edit : form->findChildren<QLineEdit*>()) {
            if (edit != ui.WebAddress && edit->parent() != ui.DatePicker && edit->parent() != ui.TimePicker &&
                edit->parent() != ui.RepeatTypeCB && edit->parent() != ui.AlarmSoundCB)
                QCOMPARE(edit->text(), QString());
        }
        startTomorrow(*form);
        ui.SaveBT->click();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QStringLiteral("You must select a task type."));
        QCOMPARE(bench.tasks[0].TaskType, 9); // untouched until a page is picked
        QTest::mouseClick(ui.PageControl->pageButton(kGeneral), Qt::LeftButton);
        ui.GeneralPath->setText(bench.dir.path());
        ui.SaveBT->click();
        QCOMPARE(bench.tasks[0].TaskType, kGeneral);
        QCOMPARE(bench.tasks[0].TaskId, 9u);
    }

    void memoFontFromSettingsAndFromTheTask() {
        test::EditorBench bench;
        setFieldText(bench.settings.DefaultFont.FontName, "DejaVu Serif");
        bench.settings.DefaultFont.FontSize = 14;
        bench.settings.DefaultFont.FontStyle = kFontItalic;
        bench.settings.DefaultFont.FontColor = 0x0000FF; // red
        Task memo = storedTask(kMemo, 3);
        memo.MemoFont.FontName = "";
        memo.MemoFont.FontSize = 10;
        memo.MemoFont.FontStyle = kFontBold | kFontUnderline;
        memo.MemoFont.FontColor = 0x00FF00;
        bench.addStored(memo);
        bench.addStored(storedTask(kAudio, 4));

        auto fresh = bench.makeForm();
        QFont font = test::controls(*fresh).MemoDescription->font();
        QCOMPARE(font.family(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(font.pointSize(), 14);
        QVERIFY(font.italic() && !font.bold());
        QCOMPARE(test::controls(*fresh).MemoDescription->palette().color(QPalette::Text), QColor(255, 0, 0));

        auto edit = bench.makeForm();
        QVERIFY(edit->prepareEditTask(3));
        font = test::controls(*edit).MemoDescription->font();
        QCOMPARE(font.family(), QStringLiteral("DejaVu Serif")); // an empty face keeps the default
        QCOMPARE(font.pointSize(), 10);
        QVERIFY(font.bold() && font.underline() && !font.italic() && !font.strikeOut());
        QCOMPARE(test::controls(*edit).MemoDescription->palette().color(QPalette::Text), QColor(0, 255, 0));

        auto other = bench.makeForm();
        QVERIFY(other->prepareEditTask(4));
        QVERIFY(test::controls(*other).MemoDescription->font().italic()); // another kind keeps the default
    }

    void newMemoStoresTheDesignedFaceAndChosenStyle() {
        test::EditorBench bench;
        bench.settings = zeroSettings();
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        form->prepareNewTask(kMemo);
        QCOMPARE(ui.MemoDescription->font().family(), QStringLiteral("MS Sans Serif"));
        startTomorrow(*form);
        QTest::keyClicks(ui.MemoDescription, QStringLiteral("first"));
        QTest::keyClick(ui.MemoDescription, Qt::Key_Return);
        QTest::keyClicks(ui.MemoDescription, QStringLiteral("second"));
        ui.SaveBT->click();
        QCOMPARE(bench.tasks.size(), 1u);
        const Task& saved = bench.tasks[0];
        QCOMPARE(saved.MemoFont.FontName.view(), std::string_view("MS Sans Serif"));
        QCOMPARE(saved.MemoFont.FontSize, 8);
        QCOMPARE(saved.MemoFont.FontStyle, 0u);
        QCOMPARE(text(saved.Description), QStringLiteral("first\r\nsecond"));
        QCOMPARE(text(saved.Target), QStringLiteral("Memo"));

        // Set font: the dialog starts from the memo box and its answer becomes the memo box's font.
        for (const std::uint32_t style : {0x3u, 0x5u}) {
            auto next = bench.makeForm();
            next->prepareNewTask(kMemo);
            FontChoice offered;
            FileDialogs::setFontHandler([&](const FontChoice& initial) {
                offered = initial;
                QFont font(QStringLiteral("DejaVu Sans"), 12);
                font.setBold(style & kFontBold);
                font.setItalic(style & kFontItalic);
                font.setUnderline(style & kFontUnderline);
                return std::optional<FontChoice>(FontChoice{font, QColor(0x12, 0x34, 0x56)});
            });
            QTest::mouseClick(test::controls(*next).SetFontBT, Qt::LeftButton);
            QCOMPARE(offered.font.family(), QStringLiteral("MS Sans Serif"));
            startTomorrow(*next);
            test::controls(*next).MemoDescription->setPlainText(QStringLiteral("styled"));
            test::controls(*next).SaveBT->click();
            const Task& styled = bench.tasks[bench.tasks.size() - 1];
            QCOMPARE(styled.MemoFont.FontStyle, style);
            QCOMPARE(styled.MemoFont.FontName.view(), std::string_view("DejaVu Sans"));
            QCOMPARE(styled.MemoFont.FontSize, 12);
            QCOMPARE(styled.MemoFont.FontColor, 0x563412);
        }
    }

    void cancelledFontDialogChangesNothing() {
        test::EditorBench bench;
        bench.settings.DefaultFont.FontColor = static_cast<std::int32_t>(0x80000008u); // a system colour
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        form->prepareNewTask(kMemo);
        const QFont before = ui.MemoDescription->font();
        FileDialogs::setFontHandler([](const FontChoice&) { return std::optional<FontChoice>(); });
        ui.SetFontBT->click();
        QCOMPARE(ui.MemoDescription->font(), before);
        // Confirming the same colour keeps the system colour value.
        FileDialogs::setFontHandler(
            [](const FontChoice& initial) { return std::optional<FontChoice>(initial); });
        ui.SetFontBT->click();
        startTomorrow(*form);
        ui.MemoDescription->setPlainText(QStringLiteral("m"));
        ui.SaveBT->click();
        QCOMPARE(static_cast<std::uint32_t>(bench.tasks[0].MemoFont.FontColor), 0x80000008u);
    }

    void saveRefusalsKeepTheWindowAndTheEntries() {
        test::EditorBench bench;
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        form->prepareNewTask(kMemo);
        form->show();
        // The editor opens at the current time: equal to now, so elapsed.
        ui.MemoDescription->setPlainText(QString());
        QTest::mouseClick(ui.SaveBT, Qt::LeftButton);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].caption, QStringLiteral("Warning"));
        QCOMPARE(boxes[0].icon, QMessageBox::Warning);
        QCOMPARE(boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(boxes[0].text,
                 QStringLiteral("Start Date & Time has elapsed.\nYou must set it for a future time."));

        ui.TimePicker->setTime(QTime(12, 0, 1));
        QTest::mouseClick(ui.SaveBT, Qt::LeftButton);
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[1].text, QStringLiteral("You must type a memo to be displayed."));

        QTest::mouseClick(ui.PageControl->pageButton(kExecutable), Qt::LeftButton);
        ui.ExePath->setText(QStringLiteral("/no/such/program"));
        QTest::mouseClick(ui.SaveBT, Qt::LeftButton);
        QCOMPARE(boxes[2].text, QStringLiteral("/no/such/program\nfile not found."));

        QTest::mouseClick(ui.PageControl->pageButton(kWebAddress), Qt::LeftButton);
        QTest::mouseClick(ui.SaveBT, Qt::LeftButton); // "http://" alone
        QVERIFY(boxes[3].text.startsWith(QStringLiteral(
            "Must type a web address or file transfer protocol using http:// or ftp://\nex: http://")));

        QVERIFY(form->isVisible());
        QVERIFY(bench.tasks.empty());
        QVERIFY(!QFile::exists(bench.taskFile()));
        QCOMPARE(ui.ExePath->text(), QStringLiteral("/no/such/program"));
        QCOMPARE(ui.TimePicker->time(), QTime(12, 0, 1));
        QCOMPARE(ui.PageControl->activePageIndex(), int{kWebAddress});

        ui.WebAddress->setText(QStringLiteral("https://example.org"));
        QTest::mouseClick(ui.SaveBT, Qt::LeftButton);
        QCOMPARE(boxes.size(), 4);
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int{QDialog::Accepted});
        QCOMPARE(bench.tasks.size(), 1u);
        QCOMPARE(text(bench.tasks[0].Target), QStringLiteral("https://example.org"));
    }

    // A program is checked where its start will look: the program folder first, then PATH; never the
    // current folder, which the start does not use.
    void aProgramIsCheckedWhereItWillStart() {
        test::EditorBench bench;
        QTemporaryDir pathFolder, current;
        const auto make = [](const QString& path, QFile::Permissions mode) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.close();
            QVERIFY(file.setPermissions(mode));
        };
        const QFile::Permissions executable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        make(bench.dir.filePath("velloran-own-tool"), QFile::ReadOwner | QFile::WriteOwner);
        make(pathFolder.filePath("velloran-path-tool"), executable);
        make(pathFolder.filePath("velloran-not-executable"), QFile::ReadOwner | QFile::WriteOwner);
        make(current.filePath("velloran-elsewhere"), executable);
        const QByteArray savedPath = qgetenv("PATH");
        const QString savedCurrent = QDir::currentPath();
        qputenv("PATH", QFile::encodeName(pathFolder.path()) + ":" + savedPath);
        QDir::setCurrent(current.path());
        for (const char* target : {"velloran-own-tool", "velloran-path-tool"}) {
            auto form = bench.makeForm();
            const test::EditorControls ui = test::controls(*form);
            form->prepareNewTask(kExecutable);
            startTomorrow(*form);
            ui.ExePath->setText(QString::fromUtf8(target));
            ui.SaveBT->click();
            QVERIFY2(form->savedTaskId().has_value(), target);
        }
        for (const char* target : {"velloran-elsewhere", "velloran-not-executable"}) {
            auto form = bench.makeForm();
            const test::EditorControls ui = test::controls(*form);
            form->prepareNewTask(kExecutable);
            startTomorrow(*form);
            ui.ExePath->setText(QString::fromUtf8(target));
            const qsizetype shown = boxes.size();
            ui.SaveBT->click();
            QVERIFY2(!form->savedTaskId().has_value(), target);
            QCOMPARE(boxes.size(), shown + 1);
            QCOMPARE(boxes.last().text, QString::fromUtf8(target) + QStringLiteral("\nfile not found."));
        }
        QDir::setCurrent(savedCurrent);
        qputenv("PATH", savedPath);
    }

    void saveOfANewTaskAppendsItAndWritesTheFile() {
        test::EditorBench bench;
        bench.addStored(storedTask(kMemo, 1));
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        form->prepareNewTask(kExecutable);
        startTomorrow(*form);
        ui.RepeatTypeCB->setCurrentIndex(kWeekly);
        ui.StatusDisabledRB->setChecked(true);
        ui.TaskMissedSkipRB->setChecked(true);
        ui.ExePath->setText(bench.dir.path());
        ui.ExeArg->setText(QStringLiteral("-v"));
        ui.ExeDescription->setText(QStringLiteral("backup"));
        ui.SaveBT->click();
        QCOMPARE(form->savedTaskId(),
                 std::optional<std::uint32_t>(static_cast<std::uint32_t>(bench.clock.unixSeconds())));
        QCOMPARE(bench.tasks.size(), 2u);
        const Task& saved = bench.tasks[bench.tasks.size() - 1];
        QCOMPARE(saved.TaskType, kExecutable);
        QCOMPARE(saved.RepeatType, kWeekly);
        QCOMPARE(saved.Flags, std::uint32_t{kAutoDelete}); // the disabled box still counts
        QCOMPARE(saved.DayMask, 0x7F);
        QCOMPARE(saved.NextRun, at(2024, 3, 11, 9, 0, 0));
        QCOMPARE(saved.DayOfMonth, 11);
        QCOMPARE(saved.ExeArguments.view(), std::string_view("-v"));
        TaskList reloaded;
        QCOMPARE(loadTaskFile(bench.taskFile().toStdString(), reloaded).state, TaskFileState::Loaded);
        QCOMPARE(reloaded.size(), 2u);
    }

    void editKeepsTheIdAndVanishedTaskKeepsTheWindowOpen() {
        test::EditorBench bench;
        bench.addStored(storedTask(kAlarmClock, 50));
        bench.addStored(storedTask(kAudio, 60));
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        QVERIFY(form->prepareEditTask(50));
        QTest::mouseClick(ui.PageControl->pageButton(kMemo), Qt::LeftButton);
        ui.MemoDescription->setPlainText(QStringLiteral("now a memo"));
        ui.SaveBT->click();
        QCOMPARE(form->savedTaskId(), std::optional<std::uint32_t>(50));
        QCOMPARE(bench.tasks[0].TaskId, 50u);
        QCOMPARE(bench.tasks[0].TaskType, kMemo);
        QCOMPARE(bench.tasks.size(), 2u);

        auto vanishing = bench.makeForm();
        QVERIFY(vanishing->prepareEditTask(60));
        test::controls(*vanishing).AudioPath->setText(bench.dir.path());
        vanishing->show();
        bench.tasks.remove(60); // the scan deleted it meanwhile
        // Save says so and offers a new task: No keeps the window and the edit, Yes saves it anew.
        recorder.answer = QMessageBox::No;
        test::controls(*vanishing).SaveBT->click();
        QVERIFY(vanishing->isVisible());
        QVERIFY(!vanishing->savedTaskId());
        QCOMPARE(bench.tasks.size(), 1u);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text,
                 QStringLiteral("The task being edited is no longer in the list: it was deleted "
                                "meanwhile.\nSave it as a new task?"));
        recorder.answer = QMessageBox::Yes;
        test::controls(*vanishing).SaveBT->click();
        QVERIFY(!vanishing->isVisible());
        QCOMPARE(bench.tasks.size(), 2u);
        const Task& anew = bench.tasks[1];
        QCOMPARE(vanishing->savedTaskId(), std::optional<std::uint32_t>(anew.TaskId));
        QVERIFY(anew.TaskId != 60u && anew.TaskId != 50u);
        QCOMPARE(anew.TaskType, kAudio);
    }

    void cancelWritesTheTaskFile() {
        test::EditorBench bench;
        bench.addStored(storedTask(kMemo, 1));
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        QTimer::singleShot(0, form.get(), [&] { QTest::mouseClick(ui.CancelBT, Qt::LeftButton); });
        QCOMPARE(form->showNewTask(kMemo), SetTaskForm::Result::Closed);
        QCOMPARE(QFileInfo(bench.taskFile()).size(), qint64(sizeof(TaskRecord)));
        QCOMPARE(bench.tasks.size(), 1u);

        // With no task left, the close removes the file.
        bench.tasks.remove(1);
        auto again = bench.makeForm();
        QTimer::singleShot(0, again.get(),
                           [&] { QTest::mouseClick(test::controls(*again).CancelBT, Qt::LeftButton); });
        again->showNewTask(kNoPage);
        QVERIFY(!QFile::exists(bench.taskFile()));
    }

    void modalSaveReturnsSaved() {
        test::EditorBench bench;
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        QTimer::singleShot(0, form.get(), [&] {
            startTomorrow(*form);
            QTest::mouseClick(ui.SaveBT, Qt::LeftButton);
        });
        QCOMPARE(form->showNewTask(kAlarmClock), SetTaskForm::Result::Saved);
        QCOMPARE(bench.tasks.size(), 1u);
        QVERIFY(QFile::exists(bench.taskFile()));
    }

    void failedWriteIsShown() {
        test::EditorBench bench;
        bench.addStored(storedTask(kMemo, 1));
        bench.tasks = bench.storeOf(bench.dir.filePath(QStringLiteral("missing/tasks.tsk")));
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        ui.CancelBT->click();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].icon, QMessageBox::Critical);
        QVERIFY(boxes[0].text.contains(QStringLiteral("missing/tasks.tsk")));
    }

    void escapeAndEnterDoNotClose() {
        test::EditorBench bench;
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        form->prepareNewTask(kWebAddress);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        ui.WebAddress->setFocus();
        QTest::keyClick(ui.WebAddress, Qt::Key_Return);
        QTest::keyClick(ui.WebAddress, Qt::Key_Escape);
        QTest::keyClick(form.get(), Qt::Key_Escape);
        QVERIFY(form->isVisible());
        QVERIFY(!QFile::exists(bench.taskFile()) && bench.sound.stops == 0);
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClick(ui.WebAddress, Qt::Key_C, Qt::AltModifier); // "&Cancel"
        QTRY_VERIFY(!form->isVisible()); // an access key clicks its button after a short press
    }

    void browseFillsThePathBox() {
        test::EditorBench bench;
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        form->prepareNewTask(kExecutable);
        QList<FileDialogRequest> requests;
        std::optional<QString> answer = QStringLiteral("/usr/bin/env");
        FileDialogs::setFileHandler([&](const FileDialogRequest& request) {
            requests << request;
            return answer;
        });
        ui.ExePath->setText(QStringLiteral("typed"));
        QTest::mouseClick(ui.BrowseExe, Qt::LeftButton);
        QCOMPARE(ui.ExePath->text(), QStringLiteral("/usr/bin/env"));
        QCOMPARE(requests[0].filter, QStringLiteral("Programs (*.exe;*.lnk;*.bat)|*.exe;*.lnk;*.bat"));
        QVERIFY(requests[0].offerPrograms);
        for (QPushButton* browse : {ui.BrowseAudio, ui.BrowseVideo, ui.BrowseDoc, ui.BrowseGeneral})
            browse->click();
        QCOMPARE(ui.GeneralPath->text(), QStringLiteral("/usr/bin/env"));
        QVERIFY(requests[1].filter.endsWith(QStringLiteral(";*.aif;*.aifc;*aiff")));
        QVERIFY(requests[2].filter.startsWith(QStringLiteral("Video files (*.mpeg;")));
        QVERIFY(requests[3].filter.startsWith(QStringLiteral("Document and Text files (*.txt;")));
        QCOMPARE(requests[4].filter, QStringLiteral("All files (*.*)|*.*"));
        QVERIFY(!requests[4].offerPrograms);

        answer.reset(); // cancelled
        ui.BrowseDoc->click();
        QCOMPARE(ui.DocPath->text(), QStringLiteral("/usr/bin/env"));
    }

    // Each Browse: the kind's own filter, then the desktop's types for the kind and every file; the
    // first one opens in the user's folder for the kind, or where the path already typed is.
    void browseOffersTheDesktopsTypesAndTheUsersFolders() {
        test::EditorBench bench;
        const QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", home.path().toUtf8());
        const auto restoreHome = qScopeGuard([&] { qputenv("HOME", oldHome); });
        for (const char* folder : {"Music", "Videos", "Documents"})
            QDir(home.path()).mkdir(QString::fromLatin1(folder));
        FileDialogs::forgetFolders();
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        form->prepareNewTask(kExecutable);
        QList<FileDialogRequest> requests;
        FileDialogs::setFileHandler([&](const FileDialogRequest& request) {
            requests << request;
            return std::optional<QString>();
        });
        for (QPushButton* browse :
             {ui.BrowseExe, ui.BrowseAudio, ui.BrowseVideo, ui.BrowseDoc, ui.BrowseGeneral})
            browse->click();
        ui.VideoPath->setText(QStringLiteral("~/Documents/holiday.mp4"));
        ui.BrowseVideo->click();

        QCOMPARE(requests.size(), 6);
        const QStringList titles{"All programs", "All audio files", "All video files", "All documents", ""};
        const QStringList folders{home.path(), home.filePath("Music"), home.filePath("Videos"),
                                  home.filePath("Documents"), home.path()};
        for (int i = 0; i < 5; ++i) {
            const QList<FileChoice> choices = fileChoices(requests[i]);
            QCOMPARE(choices.first().label, requests[i].filter.section(QLatin1Char('|'), 0, 0));
            QCOMPARE(requests[i].mimeTypesTitle, titles[i]);
            if (i < 4) // General's own filter is already every file
                QCOMPARE(choices.last().label, QStringLiteral("All files (*)"));
            QCOMPARE(startFolder(requests[i]), folders[i]);
        }
        const QList<FileChoice> audio = fileChoices(requests[1]);
        QVERIFY(audio.size() > 10);
        QCOMPARE(audio[1].label, QStringLiteral("All audio files"));
        for (const char* glob : {"*.ogg", "*.flac", "*.opus", "*.m4a", "*.mp3"})
            QVERIFY2(audio[1].patterns.contains(QString::fromLatin1(glob)), glob);
        const QList<FileChoice> documents = fileChoices(requests[3]);
        for (const char* glob : {"*.pdf", "*.odt", "*.docx", "*.xlsx", "*.txt"})
            QVERIFY2(documents[1].patterns.contains(QString::fromLatin1(glob)), glob);
        QVERIFY(fileChoices(requests[0])[1].executables);
        QCOMPARE(fileChoices(requests[4]).size(), 1);
        // A path typed from the home folder: the dialog opens in its folder.
        QCOMPARE(requests[5].typedPath, home.filePath(QStringLiteral("Documents/holiday.mp4")));
        QCOMPARE(startFolder(requests[5]), home.filePath(QStringLiteral("Documents")));
    }

    // A path typed from the home folder is checked there and saved written out.
    void pathFromTheHomeFolderIsSavedInFull() {
        test::EditorBench bench;
        const QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", home.path().toUtf8());
        const auto restoreHome = qScopeGuard([&] { qputenv("HOME", oldHome); });
        QFile clip(home.filePath(QStringLiteral("holiday clip.mpg")));
        QVERIFY(clip.open(QIODevice::WriteOnly));
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        form->prepareNewTask(kVideo);
        form->show();
        startTomorrow(*form);
        QTest::keyClicks(ui.VideoPath, QStringLiteral("~/missing.mpg"));
        QTest::mouseClick(ui.SaveBT, Qt::LeftButton);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QStringLiteral("~/missing.mpg\nfile not found."));
        ui.VideoPath->clear();
        QTest::keyClicks(ui.VideoPath, QStringLiteral("~/holiday clip.mpg"));
        QTest::mouseClick(ui.SaveBT, Qt::LeftButton);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(bench.tasks.size(), 1u);
        QCOMPARE(text(bench.tasks[0].Target), home.filePath(QStringLiteral("holiday clip.mpg")));
    }

    void webVerifyOpensOnlyValidAddresses() {
        test::EditorBench bench;
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        form->prepareNewTask(kWebAddress);
        ui.WebAddress->setText(QStringLiteral("http://a.bc"));
        QTest::mouseClick(ui.WebVerify, Qt::LeftButton);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].caption, QStringLiteral("Warning"));
        QVERIFY(bench.opener.opened.empty());
        ui.WebAddress->setText(QStringLiteral("HTTPS://Example.org/?q=1"));
        QTest::mouseClick(ui.WebVerify, Qt::LeftButton);
        QCOMPARE(bench.opener.opened, std::vector<std::string>{"HTTPS://Example.org/?q=1"});
        QCOMPARE(boxes.size(), 1);
    }

    void textBoxesHoldTheirRecordFieldsInBytes() {
        test::EditorBench bench;
        auto form = bench.makeForm();
        const test::EditorControls ui = test::controls(*form);
        form->prepareNewTask(kExecutable);
        ui.ExeArg->setFocus();
        ui.ExeArg->setText(QString(250, QLatin1Char('a')));
        ui.ExeArg->end(false);
        for (int i = 0; i < 3; ++i)
            QTest::sendKeyEvent(QTest::Click, ui.ExeArg, Qt::Key_Eacute, QStringLiteral("\u00e9"),
                                Qt::NoModifier);
        // 250 + 2 + 2 bytes fit; the third "é" would reach 256.
        QCOMPARE(ui.ExeArg->text().toUtf8().size(), 254);
        QVERIFY(ui.ExeArg->text().endsWith(QStringLiteral("\u00e9\u00e9")));

        ui.ExeDescription->setText(QString(2000, QChar(0x20AC))); // € takes three bytes
        QCOMPARE(ui.ExeDescription->text().toUtf8().size(), 1023);

        ui.MemoDescription->setPlainText(QString(1020, QLatin1Char('m')));
        ui.MemoDescription->moveCursor(QTextCursor::End);
        ui.MemoDescription->insertPlainText(QStringLiteral("\n\nxyz"));
        // Each line break takes two bytes in the record: 1020 + 2 fits, a second break does not.
        QCOMPARE(ui.MemoDescription->toPlainText(), QString(1020, QLatin1Char('m')) + QLatin1Char('\n'));
    }
};

QTEST_MAIN(SetTaskFormTest)
#include "set_task_form_test.moc"
