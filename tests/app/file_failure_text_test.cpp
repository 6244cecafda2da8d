// SPDX-License-Identifier: MIT
#include <sys/stat.h>

#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>

#include "app/file_failure_text.h"
#include "document/vector_file.h"

namespace penmoji {

// The reasons a drawing is refused with, as the editor shows them: made by the real reader from
// real files, so that a reason whose words change is noticed here.
class FileFailureTextTest : public QObject {
    Q_OBJECT

private slots:
    void reasonsOfRefusedDrawingsAreJapanese_data();
    void reasonsOfRefusedDrawingsAreJapanese();
    void anUnknownReasonIsKeptAndFileNamesStayAsTheyAre();
};

void FileFailureTextTest::reasonsOfRefusedDrawingsAreJapanese_data() {
    QTest::addColumn<QByteArray>("bytes");  // empty: made by `kind`
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expected");  // %1 for the file's path
    const QByteArray countOf900("\x84\x03\x00\x00", 4);
    QTest::newRow("PNG") << QByteArray("\x89PNG\r\n\x1a\n") << "file"
                         << "Penmoji の絵のファイルではありません（中身はPNG の絵です）";
    QTest::newRow("svgz") << QByteArray("\x1f\x8b\x08\x00", 4) << "file"
                          << "Penmoji の絵のファイルではありません（中身はgzip のデータ（.svgz "
                             "の絵？）です）";
    QTest::newRow("bad first count") << countOf900 << "file"
                                     << "ファイルが壊れています（ベクトル 0 "
                                        "の点の数が 900 です（0〜200 のはず））";
    QTest::newRow("short")
        << QByteArray(4, '\0') << "file"
        << "ファイルが壊れています（ベクトル 1 の途中でファイルが終わっています）";
    QTest::newRow("missing") << QByteArray() << "missing"
                             << "ファイルが見つからないか、開く権限がありません（%1 を開けません: "
                                "ファイルがありません）";
    QTest::newRow("directory")
        << QByteArray() << "directory"
        << "ファイルが見つからないか、開く権限がありません（%1 を開けません: "
           "フォルダーです）";
    QTest::newRow("FIFO") << QByteArray() << "fifo"
                          << "ファイルが見つからないか、開く権限がありません（%1 を開けません: "
                             "普通のファイルではありません（パイプや装置は読みません））";
}

void FileFailureTextTest::reasonsOfRefusedDrawingsAreJapanese() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, kind);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const std::filesystem::path path = dir.filePath(QStringLiteral("a.pmj")).toStdString();
    if (kind == QLatin1String("file")) {
        std::ofstream(path, std::ios::binary).write(bytes.constData(), bytes.size());
    } else if (kind == QLatin1String("directory")) {
        std::filesystem::create_directory(path);
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(path.c_str(), 0600), 0);
    }
    auto document = std::make_unique<VectorSet>();
    const FileStatus status = loadVectorFile(path, *document);
    QVERIFY(!status.ok());
    QCOMPARE(fileFailureText("ファイルが開けません", status),
             QStringLiteral("ファイルが開けません\n") +
                 expected.replace(QLatin1String("%1"), QString::fromStdString(path.string())));
}

void FileFailureTextTest::anUnknownReasonIsKeptAndFileNamesStayAsTheyAre() {
    QCOMPARE(japaneseReason("something new"), QStringLiteral("something new"));
    QCOMPARE(japaneseReason("cannot open /tmp/%2 a: b.pmj: no such file"),
             QStringLiteral("/tmp/%2 a: b.pmj を開けません: ファイルがありません"));
    QCOMPARE(japaneseReason("write error on out.txt: no space left on device"),
             QStringLiteral("out.txt に書き込めません: ディスクの空きがありません"));
    QCOMPARE(japaneseReason("cannot read the picture: too large (40000 × 30000 pixels)"),
             QStringLiteral("絵が大きすぎます（40000 × 30000 ピクセル）"));
}

}  // namespace penmoji

QTEST_GUILESS_MAIN(penmoji::FileFailureTextTest)
#include "file_failure_text_test.moc"
