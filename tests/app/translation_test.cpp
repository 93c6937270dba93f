// Designer mode and the game in German, with the translations a German user's
// programs load: their texts, plurals and change names, dialogs that grow with
// the longer texts, the lamp's words, and the classic editor, which keeps its
// English and its picture whatever translator is installed. Their mnemonics in
// English and German. And the game's English wording, which must say exactly
// what the web page and the server say.

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
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
#include "app/publish_dlg.h"
#include "app/set_controller.h"
#include "app/status_line.h"
#include "drawing/board_drawing.h"
#include "game/endless_dialog.h"
#include "game/game_window.h"
#include "game/game_wording.h"
#include "game/level_picker.h"
#include "game/set_chooser.h"
#include "logic/level_code.h"
#include "logic/level_generator.h"
#include "logic/level_set.h"
#include "logic/moves.h"
#include "play/set_play.h"
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
  /// Qt's own texts (its standard buttons) in the language, as the programs install them.
  void AddQtTexts(QLocale::Language language) {
    auto translator = std::make_unique<QTranslator>();
    EXPECT_TRUE(translator->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QCoreApplication::installTranslator(translator.get());
    m_translators.push_back(std::move(translator));
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
  EXPECT_EQ(undo->text().section('\t', 0, 0), "&Rückgängig");
  frame->OnCmdMsg(CommandId("ID_EDIT_ROTATE"));
  EXPECT_EQ(undo->text().section('\t', 0, 0), "&Rückgängig: Drehen");
  EXPECT_EQ(frame->commandAction(CommandId("ID_EDIT_COPYCODE"))->text().section('\t', 0, 0),
            "Level&code...");
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

/// The board view's picture with the level of the code on it.
QImage BoardPicture(EditorMode mode, const char* code) {
  const auto frame = ShownFrame(mode);
  frame->boardView().document().Apply(edit::ReadCode{code});
  return frame->boardView().grab().toImage();
}

/// The points where two pictures of one size differ.
QList<QPoint> Differences(const QImage& a, const QImage& b) {
  QList<QPoint> points;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) points << QPoint(x, y);
  return points;
}

// Designer mode's lamp says its words in the user's language, and only the
// label beside the lamp changes for it; the classic board keeps its picture,
// pixel for pixel, whatever translator is installed.
TEST(LampWordsTest, DesignerModeTranslatesTheLabelTheClassicBoardKeepsItsPicture) {
  const struct {
    const char* code;
    const char* verdict;
  } levels[] = {{"3111221000110fbe5", "a level with a solution"},
                {"7003366663300fffbffefffbffefffbffe555", "a level without one"}};
  for (const auto& level : levels) {
    SCOPED_TRACE(level.verdict);
    const QImage classic = BoardPicture(EditorMode::Classic, level.code);
    const QImage designer = BoardPicture(EditorMode::Designer, level.code);
    const Translations german{QLocale::German, {"korvalo_view", "korvalo_editor"}};
    EXPECT_TRUE(Differences(BoardPicture(EditorMode::Classic, level.code), classic).isEmpty());
    const QList<QPoint> changed =
        Differences(BoardPicture(EditorMode::Designer, level.code), designer);
    EXPECT_GT(changed.size(), 20) << "the label keeps its English words";
    Level read;
    ParseLevelCode(read, level.code);
    const Rect area = LampLabelArea(read.boardSize);
    const QRect label =
        QRect(area.x, area.y, area.width, area.height).translated(2, 2);  // the edge
    for (const QPoint& point : changed)
      ASSERT_TRUE(label.contains(point))
          << point.x() << ", " << point.y() << " lies outside the label";
  }
}

/// A caption's mnemonic letters: the character after each '&' that does not
/// write an ampersand ("&&"), folded to one case.
QString MnemonicLetters(const QString& caption) {
  QString letters;
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != QLatin1Char('&')) continue;
    if (caption[i + 1] != QLatin1Char('&')) letters += caption[i + 1].toCaseFolded();
    ++i;
  }
  return letters;
}

struct Caption {
  QString text;
  bool needsMnemonic;  // a menu item, a label that names a field, a check box
};

/// What is wrong with one group of captions that Alt reaches together (a
/// menu, or a window's labels and buttons): a caption without the mnemonic it
/// needs, one with several, and two that share a letter.
QStringList GroupProblems(const QString& group, const QList<Caption>& captions) {
  QStringList problems;
  QHash<QChar, QString> taken;
  for (const Caption& caption : captions) {
    const QString letters = MnemonicLetters(caption.text);
    if (letters.size() > 1 || (caption.needsMnemonic && letters.isEmpty()))
      problems << QStringLiteral("%1: \"%2\" has %3 mnemonics")
                      .arg(group, caption.text)
                      .arg(letters.size());
    if (letters.isEmpty()) continue;
    if (taken.contains(letters[0])) {
      problems << QStringLiteral("%1: \"%2\" and \"%3\" share %4")
                      .arg(group, taken[letters[0]], caption.text, letters.left(1));
    } else {
      taken.insert(letters[0], caption.text);
    }
  }
  return problems;
}

/// The problems of a menu and its submenus; `alongside` are captions that
/// share the menu's letters (the window's own, for a menu bar).
QStringList MenuProblems(const QString& menu, const QList<QAction*>& items,
                         QList<Caption> alongside = {}) {
  QStringList problems;
  for (const QAction* item : items) {
    if (item->isSeparator() || !item->isVisible()) continue;
    const QString caption = item->text().section(QLatin1Char('\t'), 0, 0);
    alongside << Caption{caption, true};
    if (item->menu() != nullptr)
      problems << MenuProblems(menu + " > " + caption, item->menu()->actions());
  }
  return GroupProblems(menu, alongside) + problems;
}

/// Whether the widget is a field a label names: a line edit of its own, a
/// spin box or a list of choices.
bool IsField(const QWidget* widget) {
  if (qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QComboBox*>(widget))
    return true;
  // The line edit inside a spin box or a list of choices is that field's.
  return qobject_cast<const QLineEdit*>(widget) &&
         !qobject_cast<const QAbstractSpinBox*>(widget->parentWidget()) &&
         !qobject_cast<const QComboBox*>(widget->parentWidget());
}

/// A standard button's text on the desktop whose buttons carry mnemonics
/// (GNOME's names them "&OK", "&Cancel", "&Close"), in the language installed;
/// the plain platform's text for any other.
QString DesktopButtonText(QDialogButtonBox::StandardButton button) {
  switch (button) {
    case QDialogButtonBox::Ok: return QCoreApplication::translate("QGnomeTheme", "&OK");
    case QDialogButtonBox::Cancel: return QCoreApplication::translate("QGnomeTheme", "&Cancel");
    case QDialogButtonBox::Close: return QCoreApplication::translate("QGnomeTheme", "&Close");
    case QDialogButtonBox::Save: return QCoreApplication::translate("QGnomeTheme", "&Save");
    default: return QDialogButtonBox().addButton(button)->text();
  }
}

/// The captions of a shown window that Alt reaches: its labels that name a
/// field and its buttons. Every field shown must have a label naming it.
QList<Caption> WindowCaptions(const QWidget* window, QStringList& problems) {
  QList<Caption> captions;
  QSet<const QWidget*> named;
  for (const QLabel* label : window->findChildren<QLabel*>()) {
    if (label->buddy() == nullptr || !label->isVisible()) continue;
    named.insert(label->buddy());
    captions << Caption{label->text(), true};
  }
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    const bool choice =
        qobject_cast<const QCheckBox*>(button) || qobject_cast<const QRadioButton*>(button);
    const auto* box = qobject_cast<const QDialogButtonBox*>(button->parentWidget());
    if (!button->isVisible() || (!choice && !qobject_cast<const QPushButton*>(button))) continue;
    // A standard button has the letter the desktop gives it.
    const bool standard =
        box != nullptr && box->standardButton(button) != QDialogButtonBox::NoButton;
    captions << Caption{standard ? DesktopButtonText(box->standardButton(button)) : button->text(),
                        choice};
  }
  for (const QWidget* field : window->findChildren<QWidget*>()) {
    if (IsField(field) && field->isVisible() && !named.contains(field))
      problems << QStringLiteral("%1: a field (%2) that no label names")
                      .arg(window->windowTitle(), field->metaObject()->className());
  }
  return captions;
}

QStringList WindowProblems(const QWidget* window) {
  QStringList problems;
  const QList<Caption> captions = WindowCaptions(window, problems);
  return GroupProblems(window->windowTitle(), captions) + problems;
}

/// Designer mode's menus with the main window's own captions, and its dialogs.
QStringList DesignerMnemonicProblems() {
  // A recent set whose name holds an ampersand shows it, not a mnemonic.
  QSettings().setValue("designer/recentSets",
                       QStringList{"/sets/corners.txt", "/sets/Tom & Jerry.txt"});
  const auto frame = ShownFrame(EditorMode::Designer);
  QStringList problems;
  QList<Caption> windowCaptions = WindowCaptions(frame.get(), problems);
  problems << MenuProblems("the menu bar", frame->menuBar()->actions(), windowCaptions);
  // A level in the set and selected, so that every dialog shows all of its fields.
  frame->OnCmdMsg(CommandId("ID_SET_ADD"));
  frame->sets()->panel()->Select(0);
  for (const int command : {CommandId("ID_GAME_GENERATE"), CommandId("ID_EDIT_COPYCODE"),
                            CommandId("ID_SET_TITLE"), CommandId("ID_SET_RENAME")}) {
    bool opened = false;
    WhenDialogOpens([&problems, &opened](QWidget* dialog) {
      opened = true;
      problems << WindowProblems(dialog);
      dialog->close();
    });
    frame->OnCmdMsg(command);
    EXPECT_TRUE(opened) << command;
  }
  CPublishDlg publish(QString::fromStdString(WriteLevelCode(frame->boardView().level())),
                      frame.get());
  publish.show();
  problems << WindowProblems(&publish);
  // The question before a changed level is dropped; Cancel keeps it.
  frame->OnCmdMsg(CommandId("ID_EDIT_ROTATE"));
  WhenDialogOpens([&problems](QWidget* question) {
    problems << WindowProblems(question);
    qobject_cast<QMessageBox*>(question)->button(QMessageBox::Cancel)->click();
  });
  frame->OnCmdMsg(CommandId("ID_FILE_NEW"));
  return problems;
}

/// The game's menu (the window's right-button menu) and its dialogs.
QStringList GameMnemonicProblems() {
  CGameWindow window(OpenGame({"3111221000110fbe5"}, [] { return 0; }), [] { return 0; });
  window.show();
  QStringList problems;
  QList<Caption> windowCaptions = WindowCaptions(&window, problems);
  problems << MenuProblems("the game's menu", window.actions(), windowCaptions);
  CEndlessDialog endless(EndlessChoice{5, Grade::Normal}, &window);
  CSetChooser chooser({QStringLiteral("/sets/corners.txt")}, &window);
  const Campaign campaign{{{"corners.txt", PrepareSet("3111221000110fbe5\tCorners\n")}}};
  const MemoryProgressStore progress;
  CLevelPicker picker(campaign, progress, {0, 0}, &window);
  for (QDialog* dialog : std::initializer_list<QDialog*>{&endless, &chooser, &picker}) {
    dialog->show();
    problems << WindowProblems(dialog);
    dialog->close();
  }
  return problems;
}

// Every menu item and every label that names a field carries one mnemonic, and
// no two in one menu or one window share its letter: designer mode and the
// game, in English and in German, each language with its own letters.
TEST(MnemonicsTest, EveryMenuItemAndFieldLabelHasItsOwnLetter) {
  const struct {
    const char* program;
    QLocale::Language language;
    QStringList (*problems)();
  } cases[] = {
      {"designer mode", QLocale::English, DesignerMnemonicProblems},
      {"designer mode", QLocale::German, DesignerMnemonicProblems},
      {"the game", QLocale::English, GameMnemonicProblems},
      {"the game", QLocale::German, GameMnemonicProblems},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.program) + " in " +
                 QLocale::languageToString(c.language).toStdString());
    QSettings().clear();
    std::optional<Translations> language;
    if (c.language != QLocale::English) {
      language.emplace(c.language, std::initializer_list<const char*>{
                                       "korvalo_view", "korvalo_editor", "korvalo_game"});
      language->AddQtTexts(c.language);
    }
    const QStringList problems = c.problems();
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
  }
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
