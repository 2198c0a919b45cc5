#include "common/text.h"
#include "look/fonts.h"
#include "platform/file_dialogs.h"
#include "prefs/preferences_form.h"
#include "prefs/settings_store.h"
#include "prefs_test_support.h"
#include "registry/autostart.h"
#include "registry/registry_file.h"
#include "window_checks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <memory>

using namespace velloran;

namespace {

constexpr const char* kTestExecutable = "/opt/Velloran Apps/velloran";
constexpr const char* kTestRunValue = "\"/opt/Velloran Apps/velloran\" hide";

// The window with its controls, found by the names that a screen reader and the tests see.
struct Preferences {
    explicit Preferences(std::unique_ptr<PreferencesForm> form) : window(std::move(form)) {}

    PreferencesForm* operator->() const { return window.get(); }
    PreferencesForm* get() const { return window.get(); }

    template <typename T> T* part(const char* name) const { return test::part<T>(*window, name); }

    std::unique_ptr<PreferencesForm> window;
    QGroupBox* GroupBox1 = part<QGroupBox>("GroupBox1");
    QLabel* Label2 = part<QLabel>("Label2");
    QRadioButton* StartupOnRB = part<QRadioButton>("StartupOnRB");
    QRadioButton* StartupOffRB = part<QRadioButton>("StartupOffRB");
    QGroupBox* GroupBox2 = part<QGroupBox>("GroupBox2");
    QComboBox* SnoozeTimeCB = part<QComboBox>("SnoozeTimeCB");
    QCheckBox* AlarmOffCK = part<QCheckBox>("AlarmOffCK");
    QComboBox* AlarmOffTimeCB = part<QComboBox>("AlarmOffTimeCB");
    QGroupBox* GroupBox3 = part<QGroupBox>("GroupBox3");
    QCheckBox* SortByDateCK = part<QCheckBox>("SortByDateCK");
    QLabel* Label3 = part<QLabel>("Label3");
    QRadioButton* DateTimeDisplayNormal = part<QRadioButton>("DateTimeDisplayNormal");
    QRadioButton* DateTimeDisplayLong = part<QRadioButton>("DateTimeDisplayLong");
    QGroupBox* GroupBox4 = part<QGroupBox>("GroupBox4");
    QLabel* DefaultFontST = part<QLabel>("DefaultFontST");
    QPushButton* Button1 = part<QPushButton>("Button1");
    QPushButton* SaveBT = part<QPushButton>("SaveBT");
    QPushButton* CancelBT = part<QPushButton>("CancelBT");
};

Preferences showForm(SettingsRecord& settings, Registry& registry,
                     const std::string& executable = kTestExecutable) {
    Preferences form(std::make_unique<PreferencesForm>(nullptr, settings, registry, executable));
    form->show();
    return form;
}

std::string bytesOf(const SettingsRecord& settings) {
    return {reinterpret_cast<const char*>(&settings), sizeof settings};
}

std::optional<std::string> runValue(Registry& registry) {
    const auto value = registry.readValue(kRunKey, kStartAtLogonValue);
    if (!value)
        return std::nullopt;
    return value->data;
}

std::optional<std::string> storedSettings(Registry& registry) {
    const auto value = registry.readValue(kSettingsKey, kSettingsValue);
    if (!value)
        return std::nullopt;
    return value->data;
}

QByteArray fileBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return "(missing)";
    return file.readAll();
}

SettingsRecord customSettings() {
    SettingsRecord settings = defaultSettings();
    settings.SortByDate = 0;
    settings.LongDateDisplay = 1;
    settings.SnoozeTime = 5;
    settings.AlarmOffEnabled = 1;
    settings.AlarmOffTime = 0;
    settings.DefaultFont.FontCharset = 0;
    settings.DefaultFont.FontColor = 0x0000FF; // red, in the stored blue-green-red order
    setFieldText(settings.DefaultFont.FontName, "DejaVu Serif");
    settings.DefaultFont.FontSize = 14;
    settings.DefaultFont.FontStyle = kFontBold | kFontItalic | kFontStrikeOut;
    return settings;
}

} // namespace

class PreferencesFormTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutes(); }
    void cleanup() { FileDialogs::setFontHandler({}); }

    void showsTheDefaults() {
        test::MessageBoxRecorder boxes;
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        auto form = showForm(settings, registry);
        QVERIFY(form.StartupOffRB->isChecked());
        QVERIFY(!form.StartupOnRB->isChecked());
        QVERIFY(form.SortByDateCK->isChecked());
        QVERIFY(form.DateTimeDisplayNormal->isChecked());
        QCOMPARE(form.SnoozeTimeCB->currentIndex(), 1);
        QCOMPARE(form.SnoozeTimeCB->currentText(), QStringLiteral("10 min"));
        QVERIFY(!form.AlarmOffCK->isChecked());
        QVERIFY(!form.AlarmOffTimeCB->isEnabled());
        QCOMPARE(form.AlarmOffTimeCB->currentIndex(), 1);
        // An empty face keeps the designed one.
        QCOMPARE(form.DefaultFontST->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(form.DefaultFontST->font().pointSize(), 8);
        QCOMPARE(form.DefaultFontST->palette().color(QPalette::WindowText), QColor(Qt::black));
        QVERIFY(boxes.shown.isEmpty());
        QCOMPARE(registry.changes(), 0);
    }

    void showsEveryFieldOfTheRecord() {
        MemoryRegistry registry;
        SettingsRecord settings = customSettings();
        auto form = showForm(settings, registry);
        QVERIFY(!form.SortByDateCK->isChecked());
        QVERIFY(form.DateTimeDisplayLong->isChecked());
        QVERIFY(!form.DateTimeDisplayNormal->isChecked());
        QCOMPARE(form.SnoozeTimeCB->currentText(), QStringLiteral("30 min"));
        QVERIFY(form.AlarmOffCK->isChecked());
        QVERIFY(form.AlarmOffTimeCB->isEnabled());
        QCOMPARE(form.AlarmOffTimeCB->currentText(), QStringLiteral("5 min"));
        const QFont sample = form.DefaultFontST->font();
        QCOMPARE(sample.family(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(sample.pointSize(), 14);
        QVERIFY(sample.bold() && sample.italic() && sample.strikeOut() && !sample.underline());
        QCOMPARE(form.DefaultFontST->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }

    void firstSaveAfterTheDefaultsStoresTheDesignFace() {
        test::MessageBoxRecorder boxes;
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        auto form = showForm(settings, registry);
        form.SaveBT->click();
        QVERIFY(boxes.shown.isEmpty());
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QVERIFY(!form->isVisible());
        QCOMPARE(std::string(fieldText(settings.DefaultFont.FontName)), std::string("MS Sans Serif"));
        QCOMPARE(settings.DefaultFont.FontSize, 8);
        QCOMPARE(settings.DefaultFont.FontStyle, 0u);
        QCOMPARE(settings.DefaultFont.FontColor, 0);
        QCOMPARE(int(settings.DefaultFont.FontCharset), 1);
        QCOMPARE(storedSettings(registry), bytesOf(settings));
        QCOMPARE(storedSettings(registry)->size(), std::size_t(292));
        QVERIFY(!runValue(registry));
    }

    // After a refused stored value the record is all zero: the sample keeps its designed face and size.
    void saveFromAnAllZeroRecord() {
        MemoryRegistry registry;
        SettingsRecord settings = zeroSettings();
        auto form = showForm(settings, registry);
        QVERIFY(!form.SortByDateCK->isChecked());
        QCOMPARE(form.SnoozeTimeCB->currentIndex(), 0);
        QCOMPARE(form.AlarmOffTimeCB->currentIndex(), 0);
        form.SaveBT->click();
        QVERIFY(!form->isVisible());
        QCOMPARE(std::string(fieldText(settings.DefaultFont.FontName)), std::string("MS Sans Serif"));
        QCOMPARE(settings.DefaultFont.FontSize, 8);
        QCOMPARE(int(settings.DefaultFont.FontCharset), 0);
        QCOMPARE(settings.SortByDate, std::uint8_t(0));
        QCOMPARE(settings.SnoozeTime, 0);
    }

    void saveStoresEveryControl() {
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        auto form = showForm(settings, registry);
        form.SortByDateCK->setChecked(false);
        form.DateTimeDisplayLong->setChecked(true);
        form.SnoozeTimeCB->setCurrentIndex(4);
        form.AlarmOffCK->setChecked(true);
        form.AlarmOffTimeCB->setCurrentIndex(5);
        form.SaveBT->click();
        QCOMPARE(settings.SortByDate, std::uint8_t(0));
        QCOMPARE(settings.LongDateDisplay, 1);
        QCOMPARE(settings.SnoozeTime, 4);
        QCOMPARE(settings.AlarmOffEnabled, std::uint8_t(1));
        QCOMPARE(settings.AlarmOffTime, 5);
        QCOMPARE(storedSettings(registry), bytesOf(settings));
    }

    // The stored padding belongs to the format and is written back as it was.
    void saveKeepsThePadding() {
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        std::memset(settings.Padding1, 0xAB, sizeof settings.Padding1);
        std::memset(settings.DefaultFont.Padding, 0xCD, sizeof settings.DefaultFont.Padding);
        auto form = showForm(settings, registry);
        form.SaveBT->click();
        QCOMPARE(std::uint8_t(settings.Padding1[2]), std::uint8_t(0xAB));
        QCOMPARE(std::uint8_t(settings.DefaultFont.Padding[0]), std::uint8_t(0xCD));
        QCOMPARE(storedSettings(registry), bytesOf(settings));
    }

    void startAtLogonIsRecognised_data() {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("on");
        QTest::newRow("quoted") << kTestExecutable << kTestRunValue << true;
        QTest::newRow("unquoted upper case") << kTestExecutable << "/OPT/VELLORAN APPS/VELLORAN HIDE" << true;
        QTest::newRow("quoted mixed case")
            << kTestExecutable << "\"/opt/velloran apps/VELLORAN\" Hide" << true;
        // Only ASCII letters fold: the same rule in every locale, and "Ü" and "ü" name different folders.
        QTest::newRow("letters beyond ASCII")
            << QStringLiteral("/opt/zürich/velloran") << QStringLiteral("/OPT/ZüRICH/VELLORAN HIDE") << true;
        QTest::newRow("letters beyond ASCII keep their case")
            << QStringLiteral("/opt/zürich/velloran") << QStringLiteral("/OPT/ZÜRICH/VELLORAN HIDE") << false;
        QTest::newRow("another copy") << kTestExecutable << "\"/usr/bin/velloran\" hide" << false;
        QTest::newRow("without hide") << kTestExecutable << "\"/opt/Velloran Apps/velloran\"" << false;
        QTest::newRow("extra space") << kTestExecutable << "\"/opt/Velloran Apps/velloran\"  hide" << false;
        QTest::newRow("empty") << kTestExecutable << "" << false;
    }

    void startAtLogonIsRecognised() {
        QFETCH(QString, executable);
        QFETCH(QString, value);
        QFETCH(bool, on);
        MemoryRegistry registry;
        QVERIFY(writeStartAtLogon(registry, value.toStdString()).ok());
        SettingsRecord settings = defaultSettings();
        auto form = showForm(settings, registry, executable.toStdString());
        QCOMPARE(form.StartupOnRB->isChecked(), on);
        QCOMPARE(form.StartupOffRB->isChecked(), !on);
    }

    void unquotedUpperCaseRunValueShowsOnAndSaveQuotesIt() {
        MemoryRegistry registry;
        QVERIFY(writeStartAtLogon(registry, "/OPT/VELLORAN APPS/VELLORAN HIDE").ok());
        SettingsRecord settings = defaultSettings();
        auto form = showForm(settings, registry);
        QVERIFY(form.StartupOnRB->isChecked());
        form.SaveBT->click();
        QVERIFY(!form->isVisible());
        QCOMPARE(runValue(registry), std::string(kTestRunValue));
        QCOMPARE(registry.readValue(kRunKey, kStartAtLogonValue)->type, std::uint32_t(kRegText));
    }

    void offWithoutRunValueSucceeds() {
        test::MessageBoxRecorder boxes;
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        auto form = showForm(settings, registry);
        QVERIFY(form.StartupOffRB->isChecked());
        form.SaveBT->click();
        QVERIFY(boxes.shown.isEmpty());
        QVERIFY(!form->isVisible());
        QVERIFY(!runValue(registry));
        QVERIFY(storedSettings(registry));
    }

    void offRemovesTheRunValueAndOnWritesIt() {
        MemoryRegistry registry;
        QVERIFY(writeStartAtLogon(registry, kTestRunValue).ok());
        SettingsRecord settings = defaultSettings();
        auto off = showForm(settings, registry);
        off.StartupOffRB->setChecked(true);
        off.SaveBT->click();
        QVERIFY(!runValue(registry));
        auto on = showForm(settings, registry);
        QVERIFY(on.StartupOffRB->isChecked());
        on.StartupOnRB->setChecked(true);
        on.SaveBT->click();
        QCOMPARE(runValue(registry), std::string(kTestRunValue));
    }

    // Another program may have stored a number under the Run value's name.
    void runValueOfAnotherTypeIsReportedAndShowsOff() {
        test::MessageBoxRecorder boxes;
        MemoryRegistry registry;
        QVERIFY(registry.writeValue(kRunKey, kStartAtLogonValue, RegistryValue::number(7)).ok());
        SettingsRecord settings = defaultSettings();
        auto form = showForm(settings, registry);
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].text, QStringLiteral("Invalid data type for 'Corvantis Task Scheduler'"));
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Critical);
        QVERIFY(form.StartupOffRB->isChecked());
        QVERIFY(form->isVisible());
    }

    void disabledSwitchOffListStillSavesItsIndex() {
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        settings.AlarmOffEnabled = 0;
        settings.AlarmOffTime = 4;
        auto form = showForm(settings, registry);
        QVERIFY(!form.AlarmOffTimeCB->isEnabled());
        QCOMPARE(form.AlarmOffTimeCB->currentText(), QStringLiteral("25 min"));
        form.SaveBT->click();
        QCOMPARE(settings.AlarmOffEnabled, std::uint8_t(0));
        QCOMPARE(settings.AlarmOffTime, 4);
    }

    void switchOffCheckBoxEnablesTheList() {
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        auto form = showForm(settings, registry);
        QTest::mouseClick(form.AlarmOffCK, Qt::LeftButton, {}, QPoint(6, form.AlarmOffCK->height() / 2));
        QVERIFY(form.AlarmOffCK->isChecked());
        QVERIFY(form.AlarmOffTimeCB->isEnabled());
        form.AlarmOffCK->setFocus();
        QTest::keyClick(form.AlarmOffCK, Qt::Key_Space);
        QVERIFY(!form.AlarmOffCK->isChecked());
        QVERIFY(!form.AlarmOffTimeCB->isEnabled());
    }

    void indexOutsideTheListShowsNothingAndSavesMinusOne() {
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        settings.SnoozeTime = 7;
        settings.AlarmOffTime = -3;
        auto form = showForm(settings, registry);
        QCOMPARE(form.SnoozeTimeCB->currentIndex(), -1);
        QCOMPARE(form.SnoozeTimeCB->currentText(), QString());
        QCOMPARE(form.AlarmOffTimeCB->currentIndex(), -1);
        QCOMPARE(form.AlarmOffTimeCB->currentText(), QString());
        form.SaveBT->click();
        QCOMPARE(settings.SnoozeTime, -1);
        QCOMPARE(settings.AlarmOffTime, -1);
        const std::string stored = *storedSettings(registry);
        QCOMPARE(stored.substr(8, 4), std::string("\xff\xff\xff\xff", 4));
    }

    // The switch-off box takes typing, but only a list item is ever saved: a typed item's name selects it,
    // anything else gives way to the selected item when the box is left.
    void typedSwitchOffTextNeverSavesSomethingElse() {
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        settings.AlarmOffEnabled = 1;
        auto form = showForm(settings, registry);
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QLineEdit* edit = form.AlarmOffTimeCB->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("12 minutes"));
        form.SnoozeTimeCB->setFocus();
        QCOMPARE(form.AlarmOffTimeCB->currentIndex(), 1);
        QCOMPARE(form.AlarmOffTimeCB->currentText(), QStringLiteral("10 min"));
        QCOMPARE(form.AlarmOffTimeCB->count(), kSnoozeItemCount);

        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("20 MIN"));
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(form->isVisible());
        QCOMPARE(form.AlarmOffTimeCB->currentIndex(), 3);
        QCOMPARE(form.AlarmOffTimeCB->currentText(), QStringLiteral("20 min"));
        QCOMPARE(form.AlarmOffTimeCB->count(), kSnoozeItemCount);

        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("junk"));
        QTest::keyClick(form.get(), Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(!form->isVisible());
        QCOMPARE(settings.AlarmOffTime, 3);
    }

    void fontDialogChangesTheSampleAndSaveStoresIt() {
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        auto form = showForm(settings, registry);
        std::optional<FontChoice> offered;
        FileDialogs::setFontHandler([&](const FontChoice& initial) {
            offered = initial;
            QFont chosen(QStringLiteral("DejaVu Serif"));
            chosen.setPointSize(12);
            chosen.setBold(true);
            chosen.setUnderline(true);
            return std::optional<FontChoice>(FontChoice{chosen, QColor(0, 128, 0)});
        });
        form.Button1->click();
        QVERIFY(offered);
        QCOMPARE(offered->font.family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(offered->color, QColor(Qt::black));
        QCOMPARE(form.DefaultFontST->font().family(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(form.DefaultFontST->palette().color(QPalette::WindowText), QColor(0, 128, 0));
        QCOMPARE(settings.DefaultFont.FontSize, 8); // nothing changes before Save
        form.SaveBT->click();
        QCOMPARE(std::string(fieldText(settings.DefaultFont.FontName)), std::string("DejaVu Serif"));
        QCOMPARE(settings.DefaultFont.FontSize, 12);
        QCOMPARE(settings.DefaultFont.FontStyle, kFontBold | kFontUnderline);
        QCOMPARE(settings.DefaultFont.FontColor, 0x008000);
        QCOMPARE(int(settings.DefaultFont.FontCharset), 1);
    }

    void cancelledFontDialogChangesNothing() {
        MemoryRegistry registry;
        SettingsRecord settings = customSettings();
        auto form = showForm(settings, registry);
        const QFont before = form.DefaultFontST->font();
        FileDialogs::setFontHandler([](const FontChoice&) { return std::optional<FontChoice>(); });
        form.Button1->click();
        QCOMPARE(form.DefaultFontST->font(), before);
        QCOMPARE(form.DefaultFontST->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        form.SaveBT->click();
        QCOMPARE(bytesOf(settings), bytesOf(customSettings()));
    }

    // A system colour is shown as the desktop draws it; left alone in the dialog it keeps its value.
    void unchangedSystemColourKeepsItsValue() {
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        settings.DefaultFont.FontColor = static_cast<std::int32_t>(0x80000008);
        auto form = showForm(settings, registry);
        FileDialogs::setFontHandler(
            [](const FontChoice& initial) { return std::optional<FontChoice>(initial); });
        form.Button1->click();
        form.SaveBT->click();
        QCOMPARE(static_cast<std::uint32_t>(settings.DefaultFont.FontColor), 0x80000008u);
    }

    void onlyTheFirst31CharactersOfTheFaceCount() {
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        setFieldText(settings.DefaultFont.FontName, "Abcdefghij Klmnopqrst Uvwxyzabcd Efghij");
        auto form = showForm(settings, registry);
        QCOMPARE(form.DefaultFontST->font().family(), QStringLiteral("Abcdefghij Klmnopqrst Uvwxyzabc"));
        form.SaveBT->click();
        QCOMPARE(std::string(fieldText(settings.DefaultFont.FontName)),
                 std::string("Abcdefghij Klmnopqrst Uvwxyzabc"));
    }

    void cancelAfterAFontChangeLeavesEverythingUntouched() {
        QTemporaryDir dir;
        FileRegistry registry(dir.path().toStdString());
        SettingsRecord stored = customSettings();
        QVERIFY(saveSettings(registry, stored).ok());
        const QByteArray fileBefore = fileBytes(registry.filePath());
        FileDialogs::setFontHandler([](const FontChoice&) {
            return std::optional<FontChoice>(
                FontChoice{QFont(QStringLiteral("DejaVu Sans Mono"), 20), Qt::blue});
        });
        for (const bool closeBox : {false, true}) {
            SettingsRecord settings = stored;
            auto form = showForm(settings, registry);
            form.Button1->click();
            form.StartupOnRB->setChecked(true);
            form.SnoozeTimeCB->setCurrentIndex(0);
            if (closeBox)
                QVERIFY(form->close());
            else
                form.CancelBT->click();
            QVERIFY(!form->isVisible());
            QCOMPARE(form->result(), int(QDialog::Rejected));
            QCOMPARE(bytesOf(settings), bytesOf(stored));
            QCOMPARE(fileBytes(registry.filePath()), fileBefore);
            QVERIFY(!QFile::exists(QString::fromStdString(registry.autostartPath())));
        }
    }

    void readOnlyConfigurationFolderShowsTheErrorAndKeepsTheWindowOpen_data() {
        QTest::addColumn<bool>("startAtLogon");
        QTest::addColumn<QString>("message");
        QTest::newRow("off") << false << "Failed to set data for 'Settings'";
        QTest::newRow("on") << true << "Failed to set data for 'Corvantis Task Scheduler'";
    }

    void readOnlyConfigurationFolderShowsTheErrorAndKeepsTheWindowOpen() {
        QFETCH(bool, startAtLogon);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString();
        FileRegistry registry(folder);
        SettingsRecord stored = defaultSettings();
        QVERIFY(saveSettings(registry, stored).ok());
        const QByteArray fileBefore = fileBytes(registry.filePath());
        SettingsRecord settings = stored;
        test::MessageBoxRecorder boxes;
        auto form = showForm(settings, registry);
        form.StartupOnRB->setChecked(startAtLogon);
        form.StartupOffRB->setChecked(!startAtLogon);
        form.SortByDateCK->setChecked(false);
        QVERIFY(test::withoutWriteAccess(folder, [&] {
            FileRegistry unprivileged(folder);
            Preferences readOnly(
                std::make_unique<PreferencesForm>(nullptr, settings, unprivileged, kTestExecutable));
            readOnly->show();
            readOnly.StartupOnRB->setChecked(startAtLogon);
            readOnly.StartupOffRB->setChecked(!startAtLogon);
            readOnly.SortByDateCK->setChecked(false);
            readOnly.SaveBT->click();
            QVERIFY(readOnly->isVisible());
            QCOMPARE(readOnly->result(), int(QDialog::Rejected));
        }));
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].text, message);
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Critical);
        // The record took the window's values before the write; the files are as they were.
        QCOMPARE(settings.SortByDate, std::uint8_t(0));
        QCOMPARE(fileBytes(registry.filePath()), fileBefore);
        QVERIFY(!QFile::exists(QString::fromStdString(registry.autostartPath())));
    }

    // A Run value written before the settings fail stays written; the window stays open for another try.
    void failedSettingsWriteKeepsTheRunValue() {
        test::MessageBoxRecorder boxes;
        test::RefusingRegistry registry("Settings");
        SettingsRecord settings = defaultSettings();
        auto form = showForm(settings, registry);
        form.StartupOnRB->setChecked(true);
        form.SaveBT->click();
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].text, QStringLiteral("Failed to set data for 'Settings'"));
        QVERIFY(form->isVisible());
        QCOMPARE(runValue(registry), std::string(kTestRunValue));
        QVERIFY(!storedSettings(registry));
    }

    // Turning start at logon off must not be reported as done while the entry is still there.
    void failedRemovalIsReportedAndNothingElseIsWritten() {
        test::MessageBoxRecorder boxes;
        test::RefusingRegistry registry{std::string(kStartAtLogonValue)};
        QVERIFY(
            registry.memory.writeValue(kRunKey, kStartAtLogonValue, RegistryValue::text(kTestRunValue)).ok());
        SettingsRecord settings = defaultSettings();
        auto form = showForm(settings, registry);
        QVERIFY(form.StartupOnRB->isChecked());
        form.StartupOffRB->setChecked(true);
        form.SaveBT->click();
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].text, QStringLiteral("Failed to delete data for 'Corvantis Task Scheduler'"));
        QVERIFY(form->isVisible());
        QVERIFY(!storedSettings(registry));
        QVERIFY(runValue(registry));
    }

    void noButtonReactsToEnterOrEscapeByItself() {
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        auto form = showForm(settings, registry);
        for (QPushButton* button : form->findChildren<QPushButton*>())
            QVERIFY2(!button->isDefault() && !button->autoDefault(), qPrintable(button->objectName()));
        form.SortByDateCK->setFocus();
        form.SortByDateCK->setChecked(false);
        QTest::keyClick(form.SortByDateCK, Qt::Key_Return);
        QTest::keyClick(form.SortByDateCK, Qt::Key_Escape);
        QVERIFY(form->isVisible());
        QCOMPARE(settings.SortByDate, std::uint8_t(1));
        QCOMPARE(registry.changes(), 0);
        // A focused push button takes Enter like a click.
        form.CancelBT->setFocus();
        QTest::keyClick(form.CancelBT, Qt::Key_Return);
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Rejected));
        QCOMPARE(registry.changes(), 0);
    }

    void tabOrderFollowsTheGroups() {
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        auto form = showForm(settings, registry);
        const QList<QWidget*> expected{form.StartupOnRB,
                                       form.StartupOffRB,
                                       form.SnoozeTimeCB,
                                       form.AlarmOffCK,
                                       form.AlarmOffTimeCB,
                                       form.SaveBT,
                                       form.CancelBT,
                                       form.SortByDateCK,
                                       form.DateTimeDisplayNormal,
                                       form.DateTimeDisplayLong,
                                       form.Button1};
        QList<QWidget*> chain;
        QWidget* widget = form.StartupOnRB;
        do {
            if (expected.contains(widget))
                chain << widget;
            widget = widget->nextInFocusChain();
        } while (widget != form.StartupOnRB);
        QCOMPARE(chain, expected);
    }

    void layoutOfTheWindow() {
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        auto form = showForm(settings, registry);
        QCOMPARE(form->windowTitle(), QStringLiteral("Preferences"));
        QCOMPARE(form->size(), QSize(401, 305));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        const Qt::WindowFlags flags = form->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                           Qt::WindowContextHelpButtonHint)));
        QCOMPARE(form.GroupBox1->title(), QStringLiteral("Startup"));
        QCOMPARE(form.GroupBox1->geometry(), QRect(8, 8, 193, 121));
        QCOMPARE(form.GroupBox2->title(), QStringLiteral("Alarm Clock default settings"));
        QCOMPARE(form.GroupBox2->geometry(), QRect(208, 8, 185, 145));
        QCOMPARE(form.GroupBox3->title(), QStringLiteral("Task View Window"));
        QCOMPARE(form.GroupBox3->geometry(), QRect(8, 136, 193, 129));
        QCOMPARE(form.GroupBox4->title(), QStringLiteral("Memo default settings"));
        QCOMPARE(form.GroupBox4->geometry(), QRect(208, 160, 185, 105));
        QCOMPARE(form.StartupOnRB->pos(), QPoint(32, 48));
        QCOMPARE(form.StartupOffRB->pos(), QPoint(96, 48));
        QCOMPARE(form.Label2->palette().color(QPalette::WindowText), QColor(128, 0, 0));
        QCOMPARE(form.SnoozeTimeCB->geometry().topLeft(), QPoint(8, 32));
        QCOMPARE(form.SnoozeTimeCB->width(), 73);
        QVERIFY(!form.SnoozeTimeCB->isEditable());
        QVERIFY(form.AlarmOffTimeCB->isEditable());
        QCOMPARE(form.AlarmOffTimeCB->geometry().topLeft(), QPoint(24, 72));
        for (QComboBox* list : {form.SnoozeTimeCB, form.AlarmOffTimeCB}) {
            QCOMPARE(list->count(), kSnoozeItemCount);
            for (int i = 0; i < kSnoozeItemCount; ++i)
                QCOMPARE(list->itemText(i), QString::fromLatin1(kSnoozeItems[i]));
        }
        QCOMPARE(form.SortByDateCK->text(), QStringLiteral("Sort by Date && Time"));
        QCOMPARE(form.Label3->text(), QStringLiteral("Date & Time display"));
        QCOMPARE(form.DateTimeDisplayNormal->text(), QStringLiteral("05/25/07 - 09:30am"));
        QCOMPARE(form.DateTimeDisplayLong->text(), QStringLiteral("Fri, May 25, 2007 - 09:30am"));
        QCOMPARE(form.DefaultFontST->geometry(), QRect(8, 24, 169, 41));
        QCOMPARE(form.DefaultFontST->frameShadow(), QFrame::Sunken);
        QCOMPARE(form.Button1->geometry(), QRect(96, 72, 81, 25));
        QCOMPARE(form.Button1->text(), QStringLiteral("Set font"));
        QCOMPARE(form.SaveBT->geometry(), QRect(232, 272, 75, 25));
        QCOMPARE(form.SaveBT->text(), QStringLiteral("&Save"));
        QCOMPARE(form.CancelBT->geometry(), QRect(320, 272, 75, 25));
        QCOMPARE(form.CancelBT->text(), QStringLiteral("&Cancel"));
    }

    // The rest of what the window says and where: every caption whole, each control in its group, the
    // wrapped notes' boxes, the snooze label's buddy and the name of the box to type in.
    void captionsGroupsAndNames() {
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        auto form = showForm(settings, registry);
        const struct {
            const char* name;
            QRect geometry;
            const char* text;
        } notes[] = {
            {"Label1",
             {8, 16, 177, 33},
             "Automaticaly start application in background when computer starts."},
            {"Label2",
             {8, 72, 177, 41},
             "Caution: Turning this option off will prevent tasks from automaticaly running."},
            {"AlarmOffLabel",
             {24, 96, 157, 41},
             "This only applies to the duration the alarm sounds. Hitting the snooze resets this counter."},
        };
        for (const auto& note : notes) {
            auto* label = form.part<QLabel>(note.name);
            QCOMPARE(label->text(), QString::fromLatin1(note.text));
            QCOMPARE(label->geometry(), note.geometry);
            QVERIFY(label->wordWrap());
        }
        QCOMPARE(form.StartupOnRB->text(), QStringLiteral("On"));
        QCOMPARE(form.StartupOffRB->text(), QStringLiteral("Off"));
        auto* snoozeLabel = form.part<QLabel>("Label4");
        QCOMPARE(snoozeLabel->text(), QStringLiteral("Snooze time:"));
        QCOMPARE(snoozeLabel->pos(), QPoint(8, 16));
        QCOMPARE(snoozeLabel->buddy(), form.SnoozeTimeCB);
        QCOMPARE(form.AlarmOffCK->text(), QStringLiteral("Automaticaly turn off after:"));
        QCOMPARE(form.AlarmOffCK->pos(), QPoint(8, 56));
        QCOMPARE(form.AlarmOffTimeCB->insertPolicy(), QComboBox::NoInsert);
        QCOMPARE(form.AlarmOffTimeCB->lineEdit()->accessibleName(),
                 QStringLiteral("Automatically turn off after"));
        QCOMPARE(form.SortByDateCK->pos(), QPoint(8, 24));
        QCOMPARE(form.Label3->pos(), QPoint(8, 56));
        QCOMPARE(form.DateTimeDisplayNormal->pos(), QPoint(16, 72));
        QCOMPARE(form.DateTimeDisplayLong->pos(), QPoint(16, 88));
        QCOMPARE(form.DefaultFontST->text(), QStringLiteral("Default font"));
        const QList<std::pair<QWidget*, QWidget*>> inGroups{
            {form.part<QLabel>("Label1"), form.GroupBox1},
            {form.StartupOnRB, form.GroupBox1},
            {form.StartupOffRB, form.GroupBox1},
            {form.Label2, form.GroupBox1},
            {snoozeLabel, form.GroupBox2},
            {form.SnoozeTimeCB, form.GroupBox2},
            {form.AlarmOffCK, form.GroupBox2},
            {form.AlarmOffTimeCB, form.GroupBox2},
            {form.part<QLabel>("AlarmOffLabel"), form.GroupBox2},
            {form.SortByDateCK, form.GroupBox3},
            {form.Label3, form.GroupBox3},
            {form.DateTimeDisplayNormal, form.GroupBox3},
            {form.DateTimeDisplayLong, form.GroupBox3},
            {form.DefaultFontST, form.GroupBox4},
            {form.Button1, form.GroupBox4},
            {form.SaveBT, form.get()},
            {form.CancelBT, form.get()},
        };
        for (const auto& [control, group] : inGroups)
            QVERIFY2(control->parentWidget() == group, qPrintable(control->objectName()));
    }

    void centredOnItsOwner() {
        QWidget owner;
        owner.setGeometry(100, 120, 700, 500);
        owner.show();
        MemoryRegistry registry;
        SettingsRecord settings = defaultSettings();
        PreferencesForm form(&owner, settings, registry, kTestExecutable);
        form.show();
        const QPoint offset = form.frameGeometry().center() - owner.frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 4,
                 qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    }
};

QTEST_MAIN(PreferencesFormTest)
#include "preferences_form_test.moc"
