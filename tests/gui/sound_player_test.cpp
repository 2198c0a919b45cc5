// The sound player: which files it plays, what stands in for the rest, and that it never fails loudly
// where there is no sound output.
#include "platform/multimedia_sound_player.h"
#include "platform/wave_file.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

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
        return isPlayableWave(QFile::encodeName(path).toStdString());
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
        for (const QUrl& url :
             {MultimediaSoundPlayer::builtinAlarm(), MultimediaSoundPlayer::builtinAlert()}) {
            QFile resource(':' + url.path());
            QVERIFY2(resource.open(QIODevice::ReadOnly), qPrintable(url.toString()));
            QVERIFY(playable(write("builtin.wav", resource.readAll())));
        }
    }

    void missingOrBrokenFilesPlayTheBuiltinAlarm() {
        const QString good =
            write("good.wav", riff(chunk("fmt ", format(1, 1, 8000, 16)) + chunk("data", samples(8))));
        QCOMPARE(MultimediaSoundPlayer::sourceFor(good), QUrl::fromLocalFile(good));
        const QString broken = write("broken.wav", "not a sound");
        QCOMPARE(MultimediaSoundPlayer::sourceFor(broken), MultimediaSoundPlayer::builtinAlarm());
        QCOMPARE(MultimediaSoundPlayer::sourceFor(dir.filePath("gone.wav")),
                 MultimediaSoundPlayer::builtinAlarm());
        // An empty sound name leaves the Sounds folder itself.
        QCOMPARE(MultimediaSoundPlayer::sourceFor(dir.path() + '/'), MultimediaSoundPlayer::builtinAlarm());
        QCOMPARE(MultimediaSoundPlayer::sourceFor(QString()), MultimediaSoundPlayer::builtinAlarm());
    }

    void playReplacesAndStopSilences() {
        QStringList warnings;
        MultimediaSoundPlayer player(nullptr, [&](const QString& text) { warnings << text; });
        const QString first =
            write("first.wav", riff(chunk("fmt ", format(1, 1, 8000, 16)) + chunk("data", samples(800))));
        player.playLooping(first);
        QVERIFY(player.isLooping());
        QCOMPARE(player.loopingSource(), QUrl::fromLocalFile(first));
        player.playLooping(dir.filePath("missing.wav"));
        QCOMPARE(player.loopingSource(), MultimediaSoundPlayer::builtinAlarm());
        player.beep();
        player.stop();
        QVERIFY(!player.isLooping());
        QVERIFY(player.loopingOutput().isEmpty());
        // Without a sound output the player says so once and goes on silently.
        if (QMediaDevices::audioOutputs().isEmpty())
            QCOMPARE(warnings.size(), 1);
        else
            QVERIFY(warnings.isEmpty());
    }
};

QTEST_GUILESS_MAIN(SoundPlayerTest)
#include "sound_player_test.moc"
