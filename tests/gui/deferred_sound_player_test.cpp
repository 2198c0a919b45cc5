// The program's sound player: the sound server's client library comes into the process with the first
// sound, not before, and a missing or broken sound module leaves the program silent but working.
#include "platform/deferred_sound_player.h"
#include "platform/sound_module.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velloran;

namespace {

bool pulseMapped() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/libpulse.so");
}

} // namespace

class DeferredSoundPlayerTest : public QObject {
    Q_OBJECT
private slots:
    // First: once a test has loaded the back end, it stays in the process.
    void firstSoundLoadsTheBackEndAndNothingElseDoes() {
        QVERIFY2(!pulseMapped(), "the test program itself must not bring the sound server's library");
        std::vector<std::string> warnings;
        DeferredSoundPlayer player(VELLORAN_SOUND_MODULE_DIR,
                                   [&](const std::string& w) { warnings.push_back(w); });
        player.stop();
        QVERIFY(!player.loaded());
        QVERIFY(!pulseMapped());

        player.playLooping(QString(), "Alarm Clock");
        QVERIFY(player.loaded());
        QVERIFY(pulseMapped());
        player.stop();
        player.beep("Memo");
        QVERIFY(warnings.empty());
    }

    void missingOrBrokenModuleStaysSilentAndSaysSoOnce() {
        QTemporaryDir empty;
        const std::string emptyFolder = empty.path().toStdString() + "/";
        std::vector<std::string> warnings;
        DeferredSoundPlayer missing(emptyFolder, [&](const std::string& w) { warnings.push_back(w); });
        missing.playLooping(QStringLiteral("Chimes.wav"), "Alarm Clock");
        missing.beep("Memo");
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
        damaged.beep("Memo");
        damaged.playLooping(QString(), "Alarm Clock");
        QVERIFY(!damaged.loaded());
        QCOMPARE(warnings.size(), std::size_t{1});
    }
};

QTEST_MAIN(DeferredSoundPlayerTest)
#include "deferred_sound_player_test.moc"
