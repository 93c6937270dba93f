// The progress file: kept whole across games, a damaged file kept aside and
// reported, two games at once keeping each other's progress.

#include "game/file_progress_store.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr const char* Small = "3001122001122fbe5";
constexpr const char* Large = "5020100030201ffbfeffbfe55";

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), bytes.size());
}

}  // namespace

class FileProgressStoreTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(m_folder.isValid());
    m_path = m_folder.filePath(QStringLiteral("data/progress.txt"));
  }
  void cleanup() { QDir(m_folder.filePath("data")).removeRecursively(); }

  void progressSurvivesARestart() {
    {
      CFileProgressStore store(m_path);
      QCOMPARE(store.FewestMoves(Small), std::nullopt);
      QVERIFY(store.SetFewestMoves(Small, 4));
      QVERIFY(store.SetFewestMoves(Small, 6));  // not better: 4 stays
      QVERIFY(store.SetLastPlayed(Large));
      QVERIFY(store.Problem().empty());
    }
    const CFileProgressStore again(m_path);
    QCOMPARE(again.FewestMoves(Small), std::optional<int>(4));
    QCOMPARE(again.LastPlayed(), std::string(Large));
    QCOMPARE(Contents(m_path),
             QByteArray("# Korvalo progress 1\nsolved\t") + Small + "\t4\nlast\t" + Large + "\n");
    QVERIFY(again.Problem().empty());
    // Nothing but the file and its lock's place are left in the folder.
    QCOMPARE(QDir(m_folder.filePath("data")).entryList(QDir::Files),
             QStringList{QStringLiteral("progress.txt")});
  }

  void damagedFileIsKeptAsideAndReported() {
    QDir().mkpath(m_folder.filePath("data"));
    const QByteArray damaged = QByteArray("# Korvalo progress 1\nsolved\t") + Small +
                               "\t3\n\x00\xff garbage\nsolved\t" + Large + "\t9";
    Write(m_path, damaged);
    CFileProgressStore store(m_path);
    QCOMPARE(store.KeptAsideAs(), m_path + ".damaged");
    QCOMPARE(Contents(store.KeptAsideAs()), damaged);
    QCOMPARE(store.Problem(),
             (std::vector<GameText>{
                 {GameTextId::ProgressKeptAside, {}, {(m_path + ".damaged").toStdString()}}}));
    // What could be read is kept, and written whole with the next change.
    QCOMPARE(store.FewestMoves(Small), std::optional<int>(3));
    QVERIFY(store.SetFewestMoves(Large, 8));
    QCOMPARE(ReadProgress(Contents(m_path).toStdString()).badLines, std::vector<int>{});
    QCOMPARE(CFileProgressStore(m_path).FewestMoves(Small), std::optional<int>(3));

    // A second damaged file does not take the first one's place.
    Write(m_path, "not progress");
    const CFileProgressStore next(m_path);
    QCOMPARE(next.KeptAsideAs(), m_path + ".damaged-2");
    QCOMPARE(Contents(m_path + ".damaged"), damaged);
  }

  void twoGamesAtOnceKeepEachOthersProgress() {
    CFileProgressStore first(m_path);
    CFileProgressStore second(m_path);
    QVERIFY(first.SetFewestMoves(Small, 5));
    QVERIFY(second.SetFewestMoves(Large, 7));  // second never read Small's 5
    QVERIFY(first.SetFewestMoves(Large, 9));   // first never read Large's 7
    const CFileProgressStore later(m_path);
    QCOMPARE(later.FewestMoves(Small), std::optional<int>(5));
    QCOMPARE(later.FewestMoves(Large), std::optional<int>(7));
    QCOMPARE(first.FewestMoves(Large), std::optional<int>(7));
  }

  void aFileThatCannotBeWrittenKeepsProgressForTheGame() {
    // The data folder's place is taken by a file: no folder, no progress file.
    Write(m_folder.filePath("data"), "a file");
    CFileProgressStore store(m_path);
    QVERIFY(!store.SetFewestMoves(Small, 2));
    QCOMPARE(store.FewestMoves(Small), std::optional<int>(2));
    QFile::remove(m_folder.filePath("data"));
  }

 private:
  QTemporaryDir m_folder;
  QString m_path;
};

QTEST_GUILESS_MAIN(FileProgressStoreTest)
#include "file_progress_store_test.moc"
