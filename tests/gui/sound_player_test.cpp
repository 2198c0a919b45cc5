// The sound player: which files it plays, how their samples are read round and round, and that it never
// fails loudly or waits where there is no sound server, or one that does not answer.
#include "builtin_sounds.h"
#include "platform/pulse_sound_player.h"
#include "platform/wave_file.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <mutex>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace velloran;

namespace {

QByteArray le(quint32 value, int bytes) {
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    return out;
}

QByteArray chunk(const char* id, const QByteArray& body) {
    QByteArray out = QByteArray(id, 4) + le(static_cast<quint32>(body.size()), 4) + body;
    if (body.size() % 2 != 0)
        out.append('\0');
    return out;
}

QByteArray format(quint16 tag, quint16 channels, quint32 rate, quint16 bits) {
    const quint16 align = static_cast<quint16>(channels * bits / 8);
    return le(tag, 2) + le(channels, 2) + le(rate, 4) + le(rate * align, 4) + le(align, 2) + le(bits, 2);
}

QByteArray riff(const QByteArray& chunks) {
    return "RIFF" + le(static_cast<quint32>(4 + chunks.size()), 4) + "WAVE" + chunks;
}

QByteArray samples(int count) {
    return QByteArray(count * 2, '\x10');
}

} // namespace

class SoundPlayerTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    static bool playable(const QString& path) {
        return WaveSamples::open(QFile::encodeName(path).toStdString()) != nullptr;
    }

private slots:
    void waveFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        const QByteArray pcm16 = chunk("fmt ", format(1, 1, 22050, 16));
        QTest::newRow("16-bit PCM") << riff(pcm16 + chunk("data", samples(100))) << true;
        QTest::newRow("8-bit stereo")
            << riff(chunk("fmt ", format(1, 2, 8000, 8)) + chunk("data", samples(10))) << true;
        QTest::newRow("32-bit float")
            << riff(chunk("fmt ", format(3, 2, 48000, 32)) + chunk("data", samples(8))) << true;
        QTest::newRow("other chunks first, odd-sized")
            << riff(chunk("LIST", "abc") + pcm16 + chunk("fact", le(4, 4)) + chunk("data", samples(4)))
            << true;
        QByteArray extensible = format(0xFFFE, 2, 44100, 16) + le(22, 2) + le(16, 2) + le(3, 4) + le(1, 2) +
                                QByteArray(14, '\x01');
        QTest::newRow("extensible PCM")
            << riff(chunk("fmt ", extensible) + chunk("data", samples(4))) << true;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("text") << QByteArray("garbage\n") << false;
        QTest::newRow("not WAVE") << QByteArray("RIFF\x10\0\0\0AVI LIST", 16) << false;
        QTest::newRow("no format") << riff(chunk("data", samples(10))) << false;
        QTest::newRow("no data") << riff(pcm16) << false;
        QTest::newRow("empty data") << riff(pcm16 + chunk("data", {})) << false;
        QTest::newRow("compressed") << riff(chunk("fmt ", format(2, 1, 22050, 4)) +
                                            chunk("data", samples(10)))
                                    << false;
        QTest::newRow("12-bit") << riff(chunk("fmt ", format(1, 1, 22050, 12)) + chunk("data", samples(10)))
                                << false;
        QTest::newRow("no channels") << riff(chunk("fmt ", format(1, 0, 22050, 16)) +
                                             chunk("data", samples(10)))
                                     << false;
        QTest::newRow("no rate") << riff(chunk("fmt ", format(1, 1, 0, 16)) + chunk("data", samples(10)))
                                 << false;
        QTest::newRow("short format") << riff(chunk("fmt ", format(1, 1, 22050, 16).left(12))) << false;
        QByteArray cut = riff(pcm16 + chunk("data", samples(100)));
        cut.truncate(cut.indexOf("data") + 8);
        QTest::newRow("cut before the samples") << cut << false;
        QTest::newRow("chunk claims more than the file")
            << riff(chunk("LIST", "ab").replace(4, 4, le(0xFFFFFFF0u, 4)) + pcm16) << false;
    }
    void waveFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        QCOMPARE(playable(write("sound.wav", bytes)), ok);
    }

    void folderPipeAndMissingFileAreNotPlayable() {
        QVERIFY(!playable(dir.path()));
        QVERIFY(!playable(dir.filePath("missing.wav")));
        // A pipe would block the reader until someone writes to it.
        const QString pipe = dir.filePath("pipe.wav");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QVERIFY(!playable(pipe));
    }

    void builtinSoundsAreCompiledIn() {
        for (const char* name : {kBuiltinAlarmSound, kBuiltinAlertSound}) {
            QFile resource(QString::fromLatin1(name));
            QVERIFY2(resource.open(QIODevice::ReadOnly), name);
            const QByteArray bytes = resource.readAll();
            QVERIFY(playable(write("builtin.wav", bytes)));
            QVERIFY(WaveSamples::fromBytes(bytes.toStdString()) != nullptr);
        }
    }

    // Frames numbered 0, 1, 2...: what a read returns says where in the sound it was.
    void samplesComeRoundAgainWholeFrames() {
        QByteArray data;
        for (char frame = 0; frame < 5; ++frame)
            data += QByteArray(2, frame); // 16-bit mono: two bytes a frame
        auto wave = WaveSamples::fromBytes(
            riff(chunk("fmt ", format(1, 1, 8000, 16)) + chunk("data", data)).toStdString());
        QVERIFY(wave != nullptr);
        QCOMPARE(wave->format().rate, 8000u);
        std::string buffer(13, '?'); // an odd size: only whole frames are written
        QCOMPARE(wave->read(buffer.data(), buffer.size(), true), std::size_t{12});
        QCOMPARE(QByteArray(buffer.data(), 12), QByteArray::fromHex("000001010202030304040000"));
        QCOMPARE(wave->read(buffer.data(), 6, true), std::size_t{6});
        QCOMPARE(QByteArray(buffer.data(), 6), QByteArray::fromHex("010102020303"));
        // Without looping, the sound ends at its last frame and stays ended.
        QCOMPARE(wave->read(buffer.data(), 12, false), std::size_t{2});
        QCOMPARE(wave->read(buffer.data(), 12, false), std::size_t{0});
        QCOMPARE(wave->read(buffer.data(), 1, true), std::size_t{0});
    }

    void samplesOfAFileShorterThanItsHeaderLoopOverWhatIsThere() {
        // The data chunk claims 100 bytes; 5 are there, two whole frames and half of one.
        const QByteArray head = riff(chunk("fmt ", format(1, 1, 8000, 16)) + chunk("data", samples(50)));
        QByteArray cut = head.left(head.indexOf("data") + 8) + QByteArray::fromHex("0a0a0b0b0c");
        auto wave = WaveSamples::open(write("cut.wav", cut).toStdString());
        QVERIFY(wave != nullptr);
        std::string buffer(10, '?');
        QCOMPARE(wave->read(buffer.data(), buffer.size(), true), std::size_t{10});
        QCOMPARE(QByteArray(buffer.data(), 10), QByteArray::fromHex("0a0a0b0b0a0a0b0b0a0a"));
    }

    void aFileEmptiedWhilePlayingEndsInsteadOfSpinning() {
        const QString path =
            write("shrinks.wav", riff(chunk("fmt ", format(1, 1, 8000, 16)) + chunk("data", samples(64))));
        auto wave = WaveSamples::open(path.toStdString());
        QVERIFY(wave != nullptr);
        std::string buffer(100, '?');
        QCOMPARE(wave->read(buffer.data(), buffer.size(), true), std::size_t{100});
        QVERIFY(QFile::resize(path, 20)); // the samples gone, the header half there
        std::size_t total = 0;
        for (int i = 0; i < 10; ++i)
            total += wave->read(buffer.data(), buffer.size(), true);
        QVERIFY2(total < 200, "a loop over nothing must end");
        QCOMPARE(wave->read(buffer.data(), buffer.size(), true), std::size_t{0});
    }

    // No sound server at all: every call returns at once, the player says so once and stays silent.
    void withoutASoundServerTheAlarmIsSilentAndSaysSoOnce() {
        const QByteArray before = qgetenv("PULSE_SERVER");
        qputenv("PULSE_SERVER", QFile::encodeName("unix:" + dir.filePath("no-server")));
        std::mutex lock;
        std::vector<std::string> warnings;
        {
            PulseSoundPlayer player([&](const std::string& text) {
                const std::scoped_lock hold(lock);
                warnings.push_back(text);
            });
            player.playLooping(dir.filePath("missing.wav"), "Alarm Clock");
            player.beep("Memo");
            // It keeps trying while the alarm should be heard; the warning is not repeated.
            QTest::qWait(PulseSoundPlayer::kRetryMs * 5 / 2);
            player.playLooping(QString(), "Alarm Clock");
            player.stop();
        }
        qputenv("PULSE_SERVER", before);
        QCOMPARE(warnings.size(), std::size_t{1});
        QVERIFY2(warnings[0].find("no sound output") == 0, warnings[0].c_str());
    }

    // A real server with no output yet: it refuses each stream at once. The player tries again each
    // second, not each moment, and the output that comes later takes the alarm up.
    void aServerWithoutAnOutputIsTriedEachSecondUntilOneComes() {
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty() ||
            QStandardPaths::findExecutable("pactl").isEmpty())
            QSKIP("needs pulseaudio and pactl");
        QTemporaryDir home;
        const QString socket = home.filePath("native");
        QProcess server;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* folder : {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME"})
            environment.insert(folder, home.path());
        server.setProcessEnvironment(environment);
        server.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "-L",
                                    "module-native-protocol-unix auth-anonymous=1 socket=" + socket});
        QVERIFY(server.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 10000);
        const QByteArray before = qgetenv("PULSE_SERVER");
        qputenv("PULSE_SERVER", QFile::encodeName("unix:" + socket));
        const auto pactl = [](const QStringList& arguments) {
            QProcess run;
            run.start("pactl", arguments);
            run.waitForFinished(10000);
            return QString::fromUtf8(run.readAllStandardOutput());
        };
        {
            PulseSoundPlayer player([](const std::string&) {});
            player.playLooping(QString(), "Alarm Clock");
            QTRY_VERIFY_WITH_TIMEOUT(player.loopsStarted() >= 1, 10000);
            const unsigned first = player.loopsStarted();
            QTest::qWait(3 * PulseSoundPlayer::kRetryMs);
            const unsigned tries = player.loopsStarted() - first;
            QVERIFY2(tries <= 4, qPrintable(QString("%1 tries in three seconds").arg(tries)));
            QVERIFY(!pactl({"load-module", "module-null-sink", "sink_name=late"}).isEmpty());
            QTRY_COMPARE_WITH_TIMEOUT(pactl({"list", "short", "sink-inputs"}).count('\n'), 1, 10000);
            player.stop();
            QTRY_COMPARE_WITH_TIMEOUT(pactl({"list", "short", "sink-inputs"}).count('\n'), 0, 10000);
        }
        qputenv("PULSE_SERVER", before);
        server.terminate();
        QVERIFY(server.waitForFinished(10000));
    }

    // A server that takes the connection and never answers: the program's thread never waits for it,
    // and the player ends while still connecting.
    void aServerThatNeverAnswersHoldsNothingUp() {
        const QByteArray socketPath = QFile::encodeName(dir.filePath("mute"));
        const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(listener >= 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, socketPath.constData(),
                    static_cast<std::size_t>(socketPath.size()) + 1);
        QCOMPARE(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        QCOMPARE(::listen(listener, 4), 0);
        const QByteArray before = qgetenv("PULSE_SERVER");
        qputenv("PULSE_SERVER", "unix:" + socketPath);
        {
            PulseSoundPlayer player([](const std::string&) {});
            for (int i = 0; i < 20; ++i) {
                player.playLooping(QString(), "Alarm Clock");
                player.beep("Memo");
            }
            QTest::qWait(200);
            player.stop();
            player.playLooping(QString(), "Alarm Clock");
        }
        qputenv("PULSE_SERVER", before);
        ::close(listener);
    }
};

QTEST_GUILESS_MAIN(SoundPlayerTest)
#include "sound_player_test.moc"
