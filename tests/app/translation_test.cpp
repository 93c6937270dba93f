// Designer mode and the game in German, with the translations a German user's
// programs load: their texts, plurals and change names, dialogs that grow with
// the longer texts, and the classic editor, which keeps its English whatever
// translator is installed. And the game's English wording, which must say
// exactly what the web page and the server say.

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QTranslator>
#include <memory>
#include <vector>

#include "app/about_box.h"
#include "app/command_table.h"
#include "app/dialog_units.h"
#include "app/level_code_dlg.h"
#include "app/level_set_panel.h"
#include "app/main_frame.h"
#include "app/set_controller.h"
#include "app/status_line.h"
#include "game/game_window.h"
#include "game/game_wording.h"
#include "logic/level_code.h"
#include "logic/level_generator.h"
#include "logic/level_set.h"
#include "logic/moves.h"
#include "tests/app/board_view_fixture.h"
#include "view/reason_wording.h"

namespace {

/// Installs the catalogues in a language for the test's duration; later
/// translators are asked first, so these come before the test main's English.
class Translations {
 public:
  Translations(QLocale::Language language, std::initializer_list<const char*> catalogues) {
    for (const char* catalogue : catalogues) {
      auto translator = std::make_unique<QTranslator>();
      EXPECT_TRUE(translator->load(QLocale(language), QString::fromLatin1(catalogue),
                                   QStringLiteral("_"), QStringLiteral(":/i18n")))
          << catalogue;
      QCoreApplication::installTranslator(translator.get());
      m_translators.push_back(std::move(translator));
    }
  }
  ~Translations() {
    for (const auto& translator : m_translators)
      QCoreApplication::removeTranslator(translator.get());
  }
  Translations(const Translations&) = delete;
  Translations& operator=(const Translations&) = delete;

 private:
  std::vector<std::unique_ptr<QTranslator>> m_translators;
};

QStringList MenuBarCaptions(const CMainFrame& frame) {
  QStringList captions;
  for (const QAction* entry : frame.menuBar()->actions()) captions << entry->text();
  return captions;
}

std::unique_ptr<CMainFrame> ShownFrame(EditorMode mode) {
  auto frame = std::make_unique<CMainFrame>(FixedRandom(), mode);
  frame->boardCommands().SetGameLauncher([](const QString&) {});
  frame->setAttribute(Qt::WA_DeleteOnClose, false);
  frame->show();
  return frame;
}

/// Every label, button, spin box and list of choices in the shown window has
/// the room its whole text needs: a cut-off text fails with its words.
void ExpectWholeTexts(QWidget* window) {
  QApplication::processEvents();
  for (const QLabel* label : window->findChildren<QLabel*>()) {
    if (!label->isVisible() || label->text().isEmpty()) continue;
    const int needed = label->wordWrap() ? label->heightForWidth(label->width())
                                         : label->minimumSizeHint().width();
    EXPECT_GE(label->wordWrap() ? label->height() : label->width(), needed)
        << label->text().toStdString();
  }
  for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    if (!button->isVisible()) continue;
    EXPECT_GE(button->width(), button->minimumSizeHint().width()) << button->text().toStdString();
  }
  for (const QWidget* box : window->findChildren<QAbstractSpinBox*>()) {
    if (!box->isVisible()) continue;
    EXPECT_GE(box->width(), box->minimumSizeHint().width());
  }
  for (const QComboBox* box : window->findChildren<QComboBox*>()) {
    if (!box->isVisible()) continue;
    EXPECT_GE(box->width(), box->minimumSizeHint().width()) << box->currentText().toStdString();
  }
}

class GermanTest : public ::testing::Test {
 protected:
  GermanTest() { QSettings().clear(); }
  Translations german{QLocale::German, {"korvalo_view", "korvalo_editor", "korvalo_game"}};
};

TEST_F(GermanTest, DesignerModeSpeaksGerman) {
  const auto frame = ShownFrame(EditorMode::Designer);
  EXPECT_EQ(MenuBarCaptions(*frame), (QStringList{"&Datei", "&Spiel", "&Bearbeiten", "&Ansicht",
                                                  "Samm&lung", "&Hilfe", "&Vandrel"}));
  EXPECT_EQ(frame->windowTitle(), "Korvalo-Leveldesigner - Unbenannte Sammlung[*]");
  QAction* undo = frame->commandAction(CommandId("ID_EDIT_UNDO"));
  EXPECT_EQ(undo->text().section('\t', 0, 0), "Rückgängig");
  frame->OnCmdMsg(CommandId("ID_EDIT_ROTATE"));
  EXPECT_EQ(undo->text().section('\t', 0, 0), "Rückgängig: Drehen");
  EXPECT_EQ(frame->commandAction(CommandId("ID_EDIT_COPYCODE"))->text().section('\t', 0, 0),
            "Levelcode...");
}

TEST_F(GermanTest, StatusLineCountsInGerman) {
  const struct {
    CarriedPiece carried;
    std::optional<int> moves;
    const char* text;
  } cases[] = {
      {CarriedPiece::Nothing, 1, "Kürzeste Lösung: 1 Zug"},
      {CarriedPiece::Nothing, 23, "Kürzeste Lösung: 23 Züge"},
      {CarriedPiece::Nothing, 0, "Schon gelöst"},
      {CarriedPiece::Nothing, std::nullopt, "Keine Lösung"},
      {CarriedPiece::RedBall, std::nullopt, "In der Hand: die rote Kugel"},
      {CarriedPiece::BlueHole, std::nullopt, "In der Hand: das blaue Loch"},
  };
  for (const auto& c : cases) {
    EditingState editing;
    editing.CarriedItem = c.carried;
    EXPECT_EQ(StatusText(editing, c.moves), QString::fromUtf8(c.text));
  }
}

// The translators installed change nothing in the classic window, its dialogs
// and its About box: no caption, no size.
TEST_F(GermanTest, TheClassicEditorKeepsItsEnglish) {
  const auto frame = ShownFrame(EditorMode::Classic);
  EXPECT_EQ(MenuBarCaptions(*frame), (QStringList{"&Game", "&Edit", "&Help", "&Vandrel"}));
  EXPECT_EQ(frame->windowTitle(), "Korvalo Level Editor");
  EXPECT_EQ(frame->commandAction(CommandId("ID_EDIT_CLEARMAZE"))->text(), "Clear\tCtrl+N");
  EXPECT_EQ(frame->commandAction(CommandId("ID_EDIT_COPYCODE"))->text(), "Copy\tCtrl+C");
  const CLevelCodeDlg copy(frame.get(), EditorMode::Classic);
  EXPECT_EQ(copy.windowTitle(), "Copy");
  EXPECT_EQ(copy.size(), DialogUnitSize(175, 30));
  const CAboutBox about(frame.get());
  EXPECT_EQ(about.windowTitle(), "About");
  EXPECT_EQ(about.size(), DialogUnitSize(135, 78));
}

TEST_F(GermanTest, DesignerDialogsGrowWithTheirGermanTexts) {
  const auto frame = ShownFrame(EditorMode::Designer);
  QStringList titles;
  const auto check = [&titles](QWidget* dialog) {
    titles << dialog->windowTitle();
    ExpectWholeTexts(dialog);
    dialog->close();
  };
  WhenDialogOpens(check);
  frame->OnCmdMsg(CommandId("ID_GAME_GENERATE"));
  WhenDialogOpens(check);
  frame->OnCmdMsg(CommandId("ID_EDIT_COPYCODE"));
  WhenDialogOpens(check);
  frame->OnCmdMsg(CommandId("ID_SET_TITLE"));
  WhenDialogOpens(check);
  frame->OnCmdMsg(CommandId("ID_HELP_KEYBOARD"));
  // The question before a changed board is dropped.
  frame->OnCmdMsg(CommandId("ID_EDIT_ROTATE"));
  WhenDialogOpens([&titles](QWidget* dialog) {
    titles << dialog->windowTitle();
    ExpectWholeTexts(dialog);
    qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Cancel)->click();
  });
  frame->close();
  EXPECT_TRUE(frame->isVisible()) << "Cancel keeps the window";
  CAboutBox about(frame.get(), EditorMode::Designer);
  about.show();
  titles << about.windowTitle();
  ExpectWholeTexts(&about);
  QStringList aboutTexts;
  for (const QLabel* label : about.findChildren<QLabel*>()) aboutTexts << label->text();
  EXPECT_TRUE(aboutTexts.contains("Korvalo-Leveldesigner, v.1.0"))
      << aboutTexts.join('|').toStdString();
  EXPECT_EQ(titles, (QStringList{"Level erzeugen", "Levelcode", "Titel und Autor",
                                 "Bearbeiten mit der Tastatur", "Ungesichertes Level", "Über"}));
}

// The set's panel keeps its buttons whole when the window is made as small as it goes.
TEST_F(GermanTest, TheSmallestDesignerWindowShowsWholeTexts) {
  const auto frame = ShownFrame(EditorMode::Designer);
  frame->resize(frame->minimumSize());
  ExpectWholeTexts(frame->sets()->panel());
  frame->OnCmdMsg(CommandId("ID_EDIT_ROTATE"));
  ExpectWholeTexts(frame->statusLine()->parentWidget());
}

TEST_F(GermanTest, TheGameSpeaksGerman) {
  const struct {
    GameText text;
    const char* german;
  } cases[] = {
      {{GameTextId::Moves, {3}}, "Züge: 3"},
      {{GameTextId::SolvedIn, {1}}, "Gelöst in 1 Zug"},
      {{GameTextId::SolvedIn, {4}}, "Gelöst in 4 Zügen"},
      {{GameTextId::Hint, {static_cast<int>(Direction::West)}}, "Tipp: Westen"},
      {{GameTextId::SetAchievement, {-1, 0, 5}}, "Noch nicht gelöst; 0 von 5 Leveln gelöst"},
      {{GameTextId::SetHeading, {2, 5}, {"Ecken"}}, "Level 2 von 5: Ecken"},
      {{GameTextId::LeftOut, {1, 4}, {}, {ReasonId::NoCodeBeforeTab}},
       "1 Zeile der Sammlung war nicht lesbar und wurde weggelassen; es ist Zeile 4: die Zeile "
       "hat keinen Code vor ihrem Tabulator."},
      {{GameTextId::SetUnreadable, {5}, {"\"a.txt\""}, {ReasonId::NoSuchFile}},
       "Die Levelsammlung \"a.txt\" ist nicht lesbar: keine solche Datei; stattdessen wird ein "
       "zufälliges 5-x-5-Level gespielt."},
      {{GameTextId::SquareReading, {2, 3, OpenNorth | OpenWest, 2, 0}},
       "Spalte 2, Zeile 3: die rote Kugel, das blaue Loch; Wände Norden, Westen; offen Süden, "
       "Osten"},
      {{GameTextId::SquareReading, {1, 1, 0, -1, -1}}, "Spalte 1, Zeile 1: keine Wände"},
      {{GameTextId::TiltReading,
        {static_cast<int>(Direction::East), 2, 0, 3, 1, -1, 1, 2, 1, 2, 2}},
       "Kippen nach Osten: die rote Kugel geht auf Spalte 3, Zeile 1; die grüne Kugel bleibt, die "
       "rote Kugel steht ihr im Weg"},
  };
  for (const auto& c : cases) EXPECT_EQ(GameWording(c.text), QString::fromUtf8(c.german));

  CGameWindow window(OpenGame({"3111221000110fbe5Level Editor"}, [] { return 0; }),
                     [] { return 0; });
  window.show();
  EXPECT_EQ(window.windowTitle(), "Korvalo - Test des Levels aus dem Editor");
  EXPECT_TRUE(window.accessibleDescription().startsWith("Ein Spielfeld von 3 mal 3 Feldern."))
      << window.accessibleDescription().toStdString();
  ExpectWholeTexts(&window);
}

/// Every reason the code reader, the set reader and the generator give, each
/// made by a fixture that shows it.
std::vector<Reason> LogicReasons() {
  std::vector<Reason> reasons;
  for (const char* code : {"", "9", "5", "5009000000000", "5000000000000", "501224444220",
                           "5012244442200", "5012244442200ffbfeffbfe5z"}) {
    Level level;
    const ParseResult read = ParseLevelCode(level, code);
    EXPECT_FALSE(read.accepted) << code;
    reasons.push_back(read.reason);
  }
  const std::string bytes =
      "# title: \xff\n5002244442200ffbfeffbfe55x\n\ttitle\n"
      "5002244442200ffbfeffbfe55\t\xfe\n";
  for (const SetLineError& error : ReadLevelSet(bytes).errors) reasons.push_back(error.reason);
  const auto problem = [&reasons](auto change) {
    GenerationRequest request;
    change(request);
    const std::optional<Reason> said = GenerationRequestProblem(request);
    EXPECT_TRUE(said.has_value());
    reasons.push_back(said.value_or(Reason{}));
  };
  problem([](GenerationRequest& r) { r.size = 4; });
  problem([](GenerationRequest& r) { r.minMoves = -1; });
  problem([](GenerationRequest& r) { r.size = 3, r.minMoves = 1000; });
  problem([](GenerationRequest& r) { r.minMoves = 9, r.maxMoves = 8; });
  problem([](GenerationRequest& r) { r.count = -1; });
  problem([](GenerationRequest& r) { r.openWalls = -1; });
  problem([](GenerationRequest& r) { r.attemptLimit = 0; });
  problem([](GenerationRequest& r) { r.timeLimit = std::chrono::milliseconds(-1); });
  problem([](GenerationRequest& r) { r.minEffort = -1; });
  problem([](GenerationRequest& r) { r.minEffort = 30, r.maxEffort = 29; });
  return reasons;
}

// The windowed programs word a reason from the same English form as the
// programs without Qt, with the same arguments in their places.
TEST(ReasonWordingTest, EnglishIsEnglishReason) {
  const std::vector<Reason> reasons = LogicReasons();
  EXPECT_EQ(reasons.size(), 8u + 4u + 10u) << "every fixture gives its reason";
  for (const Reason& reason : reasons) {
    EXPECT_NE(reason.id, ReasonId::None);
    EXPECT_EQ(ReasonWording(reason).toStdString(), EnglishReason(reason));
  }
  EXPECT_EQ(EnglishReason(reasons[3]), "character 3 is not a coordinate from 0 to 4");
}

// A form without its German would reach a German user in English.
TEST(ReasonWordingTest, EveryReasonHasItsGerman) {
  const Translations german(QLocale::German, {"korvalo_view"});
  for (int id = 0; id <= static_cast<int>(LastReasonId); ++id) {
    const auto reason = static_cast<ReasonId>(id);
    if (reason == ReasonId::None || reason == ReasonId::System) continue;
    const char* form = ReasonForm(reason);
    EXPECT_NE(QCoreApplication::translate("Reason", form), QString::fromLatin1(form))
        << "no German for: " << form;
  }
  Level level;
  EXPECT_EQ(ReasonWording(ParseLevelCode(level, "5009000000000").reason),
            "Zeichen 3 ist keine Koordinate von 0 bis 4");
  GenerationRequest request;
  request.size = 3;
  request.minMoves = 1000;
  EXPECT_EQ(ReasonWording(GenerationRequestProblem(request).value()).toStdString(),
            "eine kürzeste Lösung auf einem 3-x-3-Spielfeld hat höchstens " +
                std::to_string(MostSolutionMoves(3)) + " Züge");
  // The system's own words, and markers within any argument, stay as they are.
  EXPECT_EQ(ReasonWording({ReasonId::System, {"Permission denied"}}), "Permission denied");
  EXPECT_EQ(ReasonWording({ReasonId::TextAfterCode, {"%2"}}).toStdString(),
            "auf die %2 Zeichen des Codes folgt Text; ein Titel gehört hinter einen Tabulator");
}

// With only the English plural forms the game says, word for word, what
// EnglishText says for the web page and the server.
TEST(GameWordingTest, EnglishIsEnglishText) {
  const Translations english(QLocale::English, {"korvalo_game"});
  const std::vector<GameText> texts = {
      {GameTextId::Moves, {0}},
      {GameTextId::SolvedIn, {1}},
      {GameTextId::SolvedIn, {12}},
      {GameTextId::ShortestPossible, {1}},
      {GameTextId::ShortestPossible, {7}},
      {GameTextId::ShortestFromHere, {1}},
      {GameTextId::ShortestFromHere, {2}},
      {GameTextId::NoSolutionFromHere},
      {GameTextId::Hint, {static_cast<int>(Direction::North)}},
      {GameTextId::Hint, {static_cast<int>(Direction::East)}},
      {GameTextId::NoHint},
      {GameTextId::SetHeading, {1, 1}, {""}},
      {GameTextId::SetHeading, {3, 12}, {"Round the %1 block"}},
      {GameTextId::SetAchievement, {-1, 0, 1}},
      {GameTextId::SetAchievement, {1, 1, 2}},
      {GameTextId::SetAchievement, {14, 5, 12}},
      {GameTextId::OfferNext, {4}},
      {GameTextId::SetComplete, {1, 0}},
      {GameTextId::SetComplete, {5, 2}},
      {GameTextId::EndOfSet, {1, 1, 1}},
      {GameTextId::EndOfSet, {4, 5, 2}},
      {GameTextId::NoSolution},
      {GameTextId::ProgressUnsaved},
      {GameTextId::LeftOut, {1, 2}, {}, {ReasonId::NoCodeBeforeTab}},
      {GameTextId::LeftOut, {3, 7}, {}, {ReasonId::NotAWallDigit, {"15"}}},
      {GameTextId::NoCodeGiven, {5}},
      {GameTextId::CodeUnreadable, {5}, {"\"x\""}},
      {GameTextId::CodeUnreadable, {5}, {"\"x\""}, {ReasonId::CodeEndsBeforeWalls, {"4"}}},
      {GameTextId::SetUnreadable, {5}, {"\"a.txt\""}, {ReasonId::NoSuchFile}},
      {GameTextId::SetUnreadable, {5}, {"\"b.txt\""}, {ReasonId::System, {"Permission denied"}}},
      {GameTextId::SetWithoutLevels, {5}, {"\"a.txt\""}},
      {GameTextId::NeitherFileNorCode, {5}, {"\"b\""}, {ReasonId::NoBoardSize}},
  };
  for (const GameText& text : texts) EXPECT_EQ(GameWording(text).toStdString(), EnglishText(text));
  EXPECT_EQ(
      GameWording({{GameTextId::NoSolution}, {GameTextId::ProgressUnsaved}}, "\n").toStdString(),
      EnglishText({{GameTextId::NoSolution}, {GameTextId::ProgressUnsaved}}, "\n"));
}

}  // namespace
