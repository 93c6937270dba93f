// korvalo: plays a Korvalo level, given as a level code on the command line
// (as the level editor's Test command passes it) or made at random, or the
// levels of a level-set file in order. --help and --version print and end;
// --level N starts a set file at its level N (as the editor's Test Set
// passes it); every other argument is the level's text or the file's name.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/attempt_reporter.h"
#include "game/file_progress_store.h"
#include "game/game_window.h"
#include "game/set_chooser.h"
#include "game/settings_progress_store.h"
#include "korvalo_constants.h"
#include "logic/calibration.h"
#include "play/set_start.h"
#include "play/start_level.h"
#include "view/program_translations.h"

namespace {

constexpr const char* Description =
    "Korvalo: plays a level of the maze puzzle. Give nothing for the campaign, a\n"
    "level code (as the level editor's Test command does), or a level-set file (one\n"
    "level code per line, optionally followed by a tab and a title) to play its\n"
    "levels in order; --level N starts the set at its level N.\n"
    "Arrows or W A S D tilt the board; Ctrl+Z or Backspace undo; R restarts;\n"
    "H shows a hint; N makes a new level; Escape quits. In a set, Page Up and\n"
    "Page Down go to the previous and next level, Enter goes on from a solved one,\n"
    "L opens the level picker, and N does nothing; the fewest moves each level was\n"
    "solved in are remembered.";

/// Prints --help or --version before any window exists; the exit status, or
/// nothing when the game is to be played.
std::optional<int> AnswerInformationOptions(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromLatin1(Description));
  // "-reverse" is one unknown option, not -r -e -v (the version) and so on.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  // Not Qt's help option, whose --help-all would list Qt's options, which have no effect here.
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Displays this help."));
  parser.addOption(help);
  const QCommandLineOption version = parser.addVersionOption();
  parser.addOption(QCommandLineOption(QString::fromLatin1(StartLevelOptionName).mid(2),
                                      "Starts the level-set file at its level N, counted from 1 "
                                      "(as the level editor's Test Set does).",
                                      "N"));
  parser.addPositionalArgument("code | file",
                               "The level code, optionally followed by \"Level Editor\"; or the "
                               "name of a level-set file, which is read when it exists (followed "
                               "by \"Level Editor\" as the level editor's Test Set passes it).",
                               "[code | file]");
  parser.parse(arguments);  // anything else is the level's text, read by the game
  if (!parser.isSet(help) && !parser.isSet(version)) return std::nullopt;
  int infoArgc = 1;
  QCoreApplication application(infoArgc, argv);
  const QByteArray text =
      (parser.isSet(help) ? parser.helpText() : QStringLiteral("korvalo %1\n").arg(KorvaloVersion))
          .toLocal8Bit();
  const bool written = std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()),
                                   stdout) == static_cast<std::size_t>(text.size()) &&
                       std::fflush(stdout) == 0;
  if (written) return 0;
  std::fputs("korvalo: cannot write to standard output\n", stderr);
  return 3;
}

/// Says why the command line is refused; the exit status of a usage error.
int Refuse(const std::string& reason) {
  std::fprintf(stderr, "korvalo: %s\n", reason.c_str());
  return 2;
}

/// The folder of the data the game ships (share/korvalo), found from the
/// program's own folder as the install and the build lay them out.
QString DataFolder() {
  return QCoreApplication::applicationDirPath() + QStringLiteral("/" KORVALO_DATA_FROM_PROGRAM);
}

/// The level-set files the game ships: the campaign's chapters, then the examples.
QStringList InstalledSets() {
  QStringList paths;
  for (const char* folder : {"/campaign", "/levels"}) {
    const QDir dir(DataFolder() + QLatin1String(folder));
    for (const QString& name : dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name))
      paths << dir.filePath(name);
  }
  return paths;
}

/// Earlier games kept the fewest moves in the settings: they move into the
/// progress file once, and leave the settings when they are safely there.
void TakeInEarlierProgress(CFileProgressStore& store) {
  CSettingsProgressStore settings;
  ProgressRecord earlier;
  earlier.fewestMoves = settings.AllFewestMoves();
  if (!earlier.fewestMoves.empty() && store.Merge(earlier)) settings.Forget();
}

/// With no argument: the campaign, where the player left off; nothing when
/// the campaign is not installed.
std::optional<GameStart> CampaignStart(const Campaign& campaign,
                                       const std::shared_ptr<ProgressStore>& progress,
                                       CampaignPlace place) {
  if (campaign.Empty()) return std::nullopt;
  SetPlay play(campaign.chapters[static_cast<std::size_t>(place.chapter)].set, progress);
  play.GoTo(place.level);
  Level level = play.CurrentLevel();
  return GameStart{std::move(level), false, {}, std::move(play)};
}

/// The grade of endless play: the parameters calibrate installed for the
/// user, else the defaults; a file that cannot be used is said once and
/// stops nothing.
GradeParameters GradeParametersFromStart() {
  const GradeParametersInUse inUse = InstalledOrDefaultGradeParameters(
      InstalledGradeParametersPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")));
  if (!inUse.problem.empty())
    std::fprintf(stderr, "korvalo: %s; endless play grades with the default rule\n",
                 inUse.problem.c_str());
  return inUse.parameters;
}

}  // namespace

int main(int argc, char** argv) {
  if (const std::optional<int> status = AnswerInformationOptions(argc, argv)) return *status;
  // A wrong start level is refused before any window, display or not.
  const StartLevelOption startLevel =
      TakeStartLevel(std::vector<std::string>(argv + 1, argv + argc));
  if (!startLevel.error.empty()) return Refuse(startLevel.error);

  // Qt sees the program name alone, so its own options cannot act on the game.
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  QCoreApplication::setOrganizationName("Vandrel");
  QCoreApplication::setApplicationName("Korvalo");
  QCoreApplication::setApplicationVersion(KorvaloVersion);
  // Ties the window to its desktop entry (its icon and name in a task bar).
  QGuiApplication::setDesktopFileName(QLatin1String(GameDesktopId));
  // The window speaks the player's language; --help above stays English, as
  // the command lines of the other programs do.
  InstallProgramTranslations(application, QStringLiteral("korvalo_game"));

  const std::vector<std::string>& arguments = startLevel.rest;
  RandomSource random = ClockSeededRandomSource();
  auto progress = std::make_shared<CFileProgressStore>(DefaultProgressPath());
  TakeInEarlierProgress(*progress);
  Campaign campaign;
  CampaignPlace place;
  if (arguments.empty()) {
    campaign = ReadCampaign((DataFolder() + QStringLiteral("/campaign")).toStdString());
    if (!campaign.Empty()) place = ResumePlace(campaign, *progress);
  }
  std::optional<GameStart> start = CampaignStart(campaign, progress, place);
  if (!start) start = OpenGameOrSet(arguments, random, progress);
  if (startLevel.level) {
    const std::string refusal = ApplyStartLevel(*startLevel.level, *start);
    if (!refusal.empty()) return Refuse(refusal);
  }
  // What went wrong with the progress file is said first, whatever is played.
  start->notice.insert(start->notice.begin(), progress->Problem().begin(),
                       progress->Problem().end());
  const bool playsCampaign = !campaign.Empty();
  const bool playsSetFile = start->set && !playsCampaign;
  CGameWindow window(std::move(*start), random, GradeParametersFromStart());
  if (playsCampaign) window.UseCampaign(std::move(campaign), place.chapter);
  window.SetInstalledSets(InstalledSets());
  if (playsSetFile) {
    const QString path = QString::fromLocal8Bit(ParseParameterText(arguments).code.c_str());
    RememberRecentSet(path);
    window.FollowSetFile(path);
  }
  window.show();
  // A player is asked once whether play records may be sent (the editor's
  // game, which sends none, never asks); then the campaign opens on its
  // level picker, at the level to resume.
  QMetaObject::invokeMethod(
      &window,
      [&window, playsCampaign] {
        window.attempts()->AskOnFirstUse();
        if (playsCampaign) window.ShowPicker();
      },
      Qt::QueuedConnection);
  return QApplication::exec();
}
