// The alarm's sound on a real sound server, with the sound module loaded as the program loads it: the
// stream tells the mixer it is Velloran's alarm, and the variables that say so never reach a program
// that a task starts.
#include "platform/deferred_sound_player.h"
#include "platform/desktop_opener.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace velloran;

namespace {

// The properties of each sink input that pactl lists, by name.
QList<QMap<QString, QString>> sinkInputs() {
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("sink-inputs")});
    if (!pactl.waitForFinished(10000))
        return {};
    QList<QMap<QString, QString>> inputs;
    static const QRegularExpression property(QStringLiteral(R"re(^\s+([\w.-]+) = "(.*)"$)re"));
    for (const QString& line : QString::fromUtf8(pactl.readAllStandardOutput()).split(u'\n')) {
        if (line.startsWith(QLatin1String("Sink Input #")))
            inputs.append(QMap<QString, QString>());
        else if (const auto match = property.match(line); match.hasMatch() && !inputs.isEmpty())
            inputs.last().insert(match.captured(1), match.captured(2));
    }
    return inputs;
}

} // namespace

class AlarmStreamTest : public QObject {
    Q_OBJECT
private slots:
    void alarmStreamSaysWhatItIsAndStartedProgramsInheritNothing() {
        DeferredSoundPlayer sound(VELLORAN_SOUND_MODULE_DIR);
        sound.playLooping(QStringLiteral(VELLORAN_SOUNDS_DIR "Chimes.wav"));
        QVERIFY(sound.loaded());
        QTRY_COMPARE_WITH_TIMEOUT(sinkInputs().size(), 1, 10000);
        const QMap<QString, QString> stream = sinkInputs().first();
        QCOMPARE(stream.value("media.role"), QString("alarm"));
        QCOMPARE(stream.value("application.name"), QString("Velloran"));
        QCOMPARE(stream.value("application.icon_name"), QString("velloran"));
        QEXPECT_FAIL("", "Qt Multimedia 6.4 names each stream itself (QtmPulseStream-...)", Continue);
        QCOMPARE(stream.value("media.name"), QString("Alarm Clock"));

        // The program itself still carries them, for its own later streams.
        QCOMPARE(qgetenv("PULSE_PROP_media.role"), QByteArray("alarm"));

        // A program that a task starts, after the sound has played: its environment as the kernel
        // holds it.
        QTemporaryDir folder;
        const QString written = folder.filePath(QStringLiteral("environ"));
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

        sound.stop();
        QTRY_COMPARE_WITH_TIMEOUT(sinkInputs().size(), 0, 10000);
    }
};

QTEST_MAIN(AlarmStreamTest)
#include "alarm_stream_test.moc"
