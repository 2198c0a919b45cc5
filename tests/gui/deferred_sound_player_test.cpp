// The program's sound player: Qt Multimedia comes into the process with the first sound, not before, and
// a missing or broken sound module leaves the program silent but working.
#include "platform/child_environment.h"
#include "platform/deferred_sound_player.h"
#include "platform/sound_module.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velloran;

namespace {

bool multimediaMapped() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6Multimedia");
}

} // namespace

class DeferredSoundPlayerTest : public QObject {
    Q_OBJECT
private slots:
    // First: once a test has loaded the back end, it stays in the process.
    void firstSoundLoadsTheBackEndAndNothingElseDoes() {
        QVERIFY2(!multimediaMapped(), "the test program itself must not bring Qt Multimedia");
        ::setenv("PULSE_PROP_media.role", "music", 1); // the user's own choice stays
        ::unsetenv("PULSE_PROP_OVERRIDE_application.name");
        std::vector<std::string> warnings;
        DeferredSoundPlayer player(VELLORAN_SOUND_MODULE_DIR,
                                   [&](const std::string& w) { warnings.push_back(w); });
        player.stop();
        QVERIFY(!player.loaded());
        QVERIFY(!multimediaMapped());

        player.playLooping(QString());
        QVERIFY(player.loaded());
        QVERIFY(multimediaMapped());
        player.stop();
        player.beep();
        QVERIFY(warnings.empty());

        // The sound server learns whose sound it is from the program's environment, set as the module
        // loads; programs that tasks start get the environment as it was.
        QCOMPARE(qgetenv("PULSE_PROP_OVERRIDE_application.name"), QByteArray("Velloran"));
        QCOMPARE(qgetenv("PULSE_PROP_OVERRIDE_application.icon_name"), QByteArray("velloran"));
        QCOMPARE(qgetenv("PULSE_PROP_media.role"), QByteArray("music"));
        const QProcessEnvironment children = childEnvironment();
        QVERIFY(!children.contains("PULSE_PROP_OVERRIDE_application.name"));
        QVERIFY(!children.contains("PULSE_PROP_OVERRIDE_application.icon_name"));
        QCOMPARE(children.value("PULSE_PROP_media.role"), QString("music"));
    }

    void missingOrBrokenModuleStaysSilentAndSaysSoOnce() {
        QTemporaryDir empty;
        const std::string emptyFolder = empty.path().toStdString() + "/";
        std::vector<std::string> warnings;
        DeferredSoundPlayer missing(emptyFolder, [&](const std::string& w) { warnings.push_back(w); });
        missing.playLooping(QStringLiteral("Chimes.wav"));
        missing.beep();
        missing.stop();
        QVERIFY(!missing.loaded());
        QCOMPARE(warnings.size(), std::size_t{1});
        QVERIFY2(warnings[0].find("the sound back end cannot be loaded (") == 0, warnings[0].c_str());
        QVERIFY2(warnings[0].find(emptyFolder + kSoundModuleFile) != std::string::npos, warnings[0].c_str());
        QVERIFY2(warnings[0].find("): alarms and notes stay silent") != std::string::npos,
                 warnings[0].c_str());

        QFile broken(empty.filePath(QString::fromLatin1(kSoundModuleFile)));
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("not a library\n") > 0);
        broken.close();
        warnings.clear();
        DeferredSoundPlayer damaged(emptyFolder, [&](const std::string& w) { warnings.push_back(w); });
        damaged.beep();
        damaged.playLooping(QString());
        QVERIFY(!damaged.loaded());
        QCOMPARE(warnings.size(), std::size_t{1});
    }
};

QTEST_MAIN(DeferredSoundPlayerTest)
#include "deferred_sound_player_test.moc"
