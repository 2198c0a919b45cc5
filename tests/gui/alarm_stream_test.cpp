// The alarm's sound on a real sound server, with the sound module loaded as the program loads it: the
// stream tells the mixer it is Velloran's alarm and what for, loops, gives way to the next sound, stands
// in for a missing file, and outlives its server; a program that a task starts inherits nothing of it.
#include "platform/deferred_sound_player.h"
#include "platform/desktop_opener.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

using namespace velloran;

namespace {

// The properties of each sink input that pactl lists, by name, and its number as "index".
QList<QMap<QString, QString>> sinkInputs() {
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("sink-inputs")});
    if (!pactl.waitForFinished(10000))
        return {};
    QList<QMap<QString, QString>> inputs;
    static const QRegularExpression property(QStringLiteral(R"re(^\s+([\w.-]+) = "(.*)"$)re"));
    for (const QString& line : QString::fromUtf8(pactl.readAllStandardOutput()).split(u'\n')) {
        if (line.startsWith(QLatin1String("Sink Input #")))
            inputs.append({{QStringLiteral("index"), line.mid(12)}});
        else if (const auto match = property.match(line); match.hasMatch() && !inputs.isEmpty())
            inputs.last().insert(match.captured(1), match.captured(2));
    }
    return inputs;
}

// The one sink input there is; empty while there is none or more than one.
QMap<QString, QString> onlyInput() {
    const auto inputs = sinkInputs();
    return inputs.size() == 1 ? inputs.first() : QMap<QString, QString>();
}

QByteArray le(quint32 value, int bytes) {
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    return out;
}

// A WAVE file of `millis` ms of a loud square wave, 8 kHz 16-bit mono.
QByteArray squareWave(int millis) {
    QByteArray samples;
    for (int i = 0; i < 8 * millis; ++i)
        samples += le((i / 8) % 2 != 0 ? 0x4000 : 0xC000, 2);
    const QByteArray format = le(1, 2) + le(1, 2) + le(8000, 4) + le(16000, 4) + le(2, 2) + le(16, 2);
    const QByteArray chunks =
        "fmt " + le(16, 4) + format + "data" + le(static_cast<quint32>(samples.size()), 4) + samples;
    return "RIFF" + le(static_cast<quint32>(4 + chunks.size()), 4) + "WAVE" + chunks;
}

// Whether the default output carries sound now: half a second of its monitor, not all silence.
bool outputIsHeard() {
    QProcess record;
    record.start(QStringLiteral("parec"), {"--raw", "--device=@DEFAULT_MONITOR@", "--format=s16le",
                                           "--channels=1", "--rate=8000", "--latency-msec=50"});
    if (!record.waitForStarted(5000))
        return false;
    QTest::qWait(700);
    record.terminate();
    record.waitForFinished(5000);
    const QByteArray heard = record.readAllStandardOutput();
    return heard.count('\0') < heard.size() * 9 / 10;
}

} // namespace

class AlarmStreamTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    DeferredSoundPlayer sound_{VELLORAN_SOUND_MODULE_DIR};

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void alarmStreamSaysWhatItIsAndStartedProgramsInheritNothing() {
        const QString chimes = QStringLiteral(VELLORAN_SOUNDS_DIR "Chimes.wav");
        sound_.playLooping(chimes, "Alarm Clock");
        QVERIFY(sound_.loaded());
        QTRY_COMPARE_WITH_TIMEOUT(sinkInputs().size(), 1, 10000);
        const QMap<QString, QString> stream = sinkInputs().first();
        QCOMPARE(stream.value("media.role"), QString("alarm"));
        QCOMPARE(stream.value("application.name"), QString("Velloran"));
        QCOMPARE(stream.value("application.icon_name"), QString("velloran"));
        QCOMPARE(stream.value("media.name"), QString("Alarm Clock"));
        QCOMPARE(stream.value("media.filename"), chimes);

        // A program that a task starts, after the sound has played: its environment as the kernel
        // holds it.
        const QString written = dir_.filePath(QStringLiteral("environ"));
        DesktopOpener opener;
        opener.runProgram("/bin/sh", {"-c", "cat /proc/$$/environ > \"$0.part\" && mv \"$0.part\" \"$0\"",
                                      written.toStdString()});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(written), 10000);
        QFile inherited(written);
        QVERIFY(inherited.open(QIODevice::ReadOnly));
        const QList<QByteArray> variables = inherited.readAll().split('\0');
        QVERIFY(variables.contains("HOME=" + qgetenv("HOME")));
        for (const QByteArray& variable : variables)
            QVERIFY2(!variable.startsWith("PULSE_PROP"), variable.constData());

        sound_.stop();
        QTRY_COMPARE_WITH_TIMEOUT(sinkInputs().size(), 0, 10000);
    }

    void aShortSoundLoopsUntilStopped() {
        const QString beat = write("beat.wav", squareWave(200));
        sound_.playLooping(beat, "Alarm Clock");
        QTRY_COMPARE_WITH_TIMEOUT(onlyInput().value("media.filename"), beat, 10000);
        const QString stream = onlyInput().value("index");
        // Ten times its length later the same stream still plays it, and it is heard.
        QTest::qWait(2000);
        QCOMPARE(onlyInput().value("media.filename"), beat);
        QCOMPARE(onlyInput().value("index"), stream);
        QVERIFY(outputIsHeard());
        sound_.stop();
        QTRY_COMPARE_WITH_TIMEOUT(sinkInputs().size(), 0, 10000);
        QVERIFY(!outputIsHeard());
    }

    void aNewSoundReplacesThePlayingOne() {
        const QString first = write("first.wav", squareWave(300));
        const QString second = write("second.wav", squareWave(400));
        sound_.playLooping(first, "Alarm Clock");
        QTRY_COMPARE_WITH_TIMEOUT(onlyInput().value("media.filename"), first, 10000);
        sound_.playLooping(second, "Task Setup");
        QTRY_COMPARE_WITH_TIMEOUT(onlyInput().value("media.filename"), second, 10000);
        QCOMPARE(onlyInput().value("media.name"), QString("Task Setup"));
        QTest::qWait(500);
        QCOMPARE(sinkInputs().size(), 1);
        sound_.stop();
        QTRY_COMPARE_WITH_TIMEOUT(sinkInputs().size(), 0, 10000);
    }

    void aMissingOrDamagedFilePlaysTheBuiltInAlarm() {
        // A rate no sound server takes: a WAVE file that reads well, which the server would refuse.
        const QString tooFast = write("too-fast.wav", squareWave(100).replace(24, 4, le(50000000, 4)));
        const QString damaged = write("damaged.wav", QByteArray("RIFF\x10\0\0\0WAVEdata", 16));
        for (const QString& path : {dir_.filePath("missing.wav"), damaged, tooFast}) {
            sound_.playLooping(path, "Alarm Clock");
            QTRY_COMPARE_WITH_TIMEOUT(onlyInput().value("media.name"), QString("Alarm Clock"), 10000);
            QVERIFY2(!onlyInput().contains("media.filename"), qPrintable(path));
            QTest::qWait(1500);
            QCOMPARE(sinkInputs().size(), 1);
            sound_.stop();
            QTRY_COMPARE_WITH_TIMEOUT(sinkInputs().size(), 0, 10000);
        }
    }

    void theAlertPlaysOnceAndGoes() {
        sound_.beep("Memo");
        QTRY_COMPARE_WITH_TIMEOUT(onlyInput().value("media.name"), QString("Memo"), 10000);
        QCOMPARE(onlyInput().value("media.role"), QString("alarm"));
        QTRY_COMPARE_WITH_TIMEOUT(sinkInputs().size(), 0, 10000);
    }

    void aRoleTheUserChoseStays() {
        qputenv("PULSE_PROP_media.role", "music");
        sound_.playLooping(QString(), "Alarm Clock");
        QTRY_COMPARE_WITH_TIMEOUT(onlyInput().value("media.role"), QString("music"), 10000);
        sound_.stop();
        qunsetenv("PULSE_PROP_media.role");
        QTRY_COMPARE_WITH_TIMEOUT(sinkInputs().size(), 0, 10000);
    }

    // Last: the server goes away while the alarm rings; the player goes on, silent, and ends cleanly.
    void theServerGoingAwayMidSoundHarmsNothing() {
        const int server = qEnvironmentVariableIntValue("VELLORAN_PULSE_SERVER_PID");
        if (server <= 0)
            QSKIP("the sound server's process is not known");
        sound_.playLooping(write("long.wav", squareWave(500)), "Alarm Clock");
        QTRY_COMPARE_WITH_TIMEOUT(sinkInputs().size(), 1, 10000);
        QCOMPARE(::kill(server, SIGKILL), 0);
        QTest::qWait(2500); // more than one try to reach it again
        sound_.playLooping(QString(), "Alarm Clock");
        sound_.beep("Memo");
        QTest::qWait(500);
        sound_.stop();
    }
};

QTEST_MAIN(AlarmStreamTest)
#include "alarm_stream_test.moc"
