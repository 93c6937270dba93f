#include "app/generate_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

#include "view/reason_wording.h"
#include "view/status_accessible.h"

namespace {

/// A range of moves that a search finds quickly for each size.
int SuggestedFewestMoves(int size) { return size == 3 ? 6 : size == 5 ? 20 : 30; }

const QString SizeKey = QStringLiteral("designer/generate/size");
const QString FewestKey = QStringLiteral("designer/generate/fewestMoves");
const QString MostKey = QStringLiteral("designer/generate/mostMoves");
const QString WallsKey = QStringLiteral("designer/generate/openWalls");
const QString UniqueKey = QStringLiteral("designer/generate/unique");
const QString LeastEffortKey = QStringLiteral("designer/generate/leastEffort");
const QString MostEffortKey = QStringLiteral("designer/generate/mostEffort");
const QString CountKey = QStringLiteral("designer/generate/count");
const QString SeedKey = QStringLiteral("designer/generate/seed");
const QString LastSeedKey = QStringLiteral("designer/generate/lastSeed");

/// The most levels one run makes.
constexpr int MostLevelsPerRun = 100;

/// The message lines the dialog can show under its fields, so that a longer
/// message wraps instead of widening the dialog.
constexpr int MessageLines = 3;

}  // namespace

CGenerateDlg::CGenerateDlg(int boardSize, QWidget* parent)
    : QDialog(parent),
      m_size(new QComboBox(this)),
      m_fewest(new QSpinBox(this)),
      m_most(new QSpinBox(this)),
      m_walls(new QSpinBox(this)),
      m_unique(new QCheckBox(tr("&Only levels with one shortest solution"), this)),
      m_leastEffort(new QSpinBox(this)),
      m_mostEffort(new QSpinBox(this)),
      m_count(new QSpinBox(this)),
      m_seed(new QLineEdit(this)),
      m_lastSeed(new QLineEdit(this)),
      m_progress(new QLabel(this)),
      m_generate(new QPushButton(tr("&Generate"), this)),
      m_cancel(new QPushButton(tr("&Cancel"), this)) {
  setWindowTitle(tr("Generate a Level"));
  const QSettings settings;
  const int size = settings.value(SizeKey, boardSize).toInt();
  for (const int n : {3, 5, 7}) m_size->addItem(tr("%1 x %1").arg(n), n);
  m_size->setCurrentIndex(std::max(0, m_size->findData(size)));
  m_fewest->setRange(0, 200);
  m_fewest->setValue(settings.value(FewestKey, SuggestedFewestMoves(size)).toInt());
  m_most->setRange(0, 200);
  m_most->setSpecialValueText(tr("no limit"));
  m_most->setValue(settings.value(MostKey, 0).toInt());
  m_walls->setRange(0, 84);
  m_walls->setValue(settings.value(WallsKey, 0).toInt());
  m_unique->setChecked(settings.value(UniqueKey, false).toBool());
  // The greedy effort: how many placements a player who always tries the one
  // nearest the holes expands: at most every placement of the balls.
  m_leastEffort->setRange(0, BallPlacements(7));
  m_leastEffort->setValue(settings.value(LeastEffortKey, 0).toInt());
  m_mostEffort->setRange(0, BallPlacements(7));
  m_mostEffort->setSpecialValueText(tr("no limit"));
  m_mostEffort->setValue(settings.value(MostEffortKey, 0).toInt());
  const QString effortTip =
      tr("How many placements of the balls a greedy player expands, who always tries the one "
         "nearest the holes, before the level is solved.");
  m_leastEffort->setToolTip(effortTip);
  m_mostEffort->setToolTip(effortTip);
  m_count->setRange(1, MostLevelsPerRun);
  m_count->setValue(settings.value(CountKey, 1).toInt());
  m_count->setToolTip(
      tr("One level goes on the board; more go into the set after the "
         "selected level, as one step that Undo takes back."));
  m_seed->setPlaceholderText(tr("from the clock"));
  m_seed->setText(settings.value(SeedKey).toString());
  m_lastSeed->setReadOnly(true);
  m_lastSeed->setPlaceholderText(tr("none yet"));
  m_lastSeed->setText(settings.value(LastSeedKey).toString());
  connect(m_size, &QComboBox::currentIndexChanged, this,
          [this] { m_fewest->setValue(SuggestedFewestMoves(m_size->currentData().toInt())); });

  auto* form = new QFormLayout;
  form->addRow(tr("Board &size:"), m_size);
  form->addRow(tr("At &least (moves):"), m_fewest);
  form->addRow(tr("At &most (moves):"), m_most);
  form->addRow(tr("&Walls opened:"), m_walls);
  form->addRow(QString(), m_unique);
  form->addRow(tr("Greedy &effort at least:"), m_leastEffort);
  form->addRow(tr("Greedy effort at mos&t:"), m_mostEffort);
  form->addRow(tr("Le&vels:"), m_count);
  form->addRow(tr("See&d:"), m_seed);
  form->addRow(tr("Last seed &used:"), m_lastSeed);
  m_progress->setWordWrap(true);
  m_progress->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // A screen reader hears every progress and seed as a status line; the line
  // takes no focus, where it would stand silent while empty.
  MakeStatusLine(m_progress);
  m_progress->setFocusPolicy(Qt::NoFocus);
  m_progress->setMinimumHeight(MessageLines * m_progress->fontMetrics().lineSpacing());
  m_progress->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // The room kept for the search's messages says what the buttons do until
  // the first one, instead of standing empty above them.
  m_progress->setText(
      tr("Generate searches for levels of these figures; Cancel stops a search under way."));
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(m_generate, QDialogButtonBox::ActionRole);
  buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);
  m_generate->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(m_progress);
  layout->addWidget(buttons);
  connect(m_generate, &QPushButton::clicked, this, &CGenerateDlg::StartSearch);
  connect(m_cancel, &QPushButton::clicked, this, &CGenerateDlg::reject);
}

CGenerateDlg::~CGenerateDlg() { StopSearch(); }

std::optional<GenerationRequest> CGenerateDlg::Request() {
  GenerationRequest request;
  request.size = m_size->currentData().toInt();
  request.minMoves = m_fewest->value();
  request.maxMoves = m_most->value() == m_most->minimum() ? NoMoveLimit : m_most->value();
  request.openWalls = m_walls->value();
  request.unique = m_unique->isChecked();
  request.minEffort = m_leastEffort->value();
  request.maxEffort =
      m_mostEffort->value() == m_mostEffort->minimum() ? NoEffortLimit : m_mostEffort->value();
  request.count = m_count->value();
  request.avoid = m_avoid;
  const QString seedText = m_seed->text().trimmed();
  if (seedText.isEmpty()) {
    request.seed = static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch());
  } else {
    bool number = false;
    request.seed = seedText.toULongLong(&number);
    if (!number) {
      m_progress->setText(
          tr("The seed must be a whole number from 0 to 18446744073709551615, or left empty "
             "for one from the clock."));
      return std::nullopt;
    }
  }
  if (const auto problem = GenerationRequestProblem(request)) {
    m_progress->setText(ReasonWording(*problem));
    return std::nullopt;
  }
  return request;
}

void CGenerateDlg::RememberSettings() const {
  QSettings settings;
  settings.setValue(SizeKey, m_size->currentData().toInt());
  settings.setValue(FewestKey, m_fewest->value());
  settings.setValue(MostKey, m_most->value());
  settings.setValue(WallsKey, m_walls->value());
  settings.setValue(UniqueKey, m_unique->isChecked());
  settings.setValue(LeastEffortKey, m_leastEffort->value());
  settings.setValue(MostEffortKey, m_mostEffort->value());
  settings.setValue(CountKey, m_count->value());
  settings.setValue(SeedKey, m_seed->text().trimmed());
  settings.setValue(LastSeedKey, m_lastSeed->text());
}

int CGenerateDlg::wanted() const { return m_count->value(); }

QString CGenerateDlg::FoundText() const {
  if (wanted() > 1) {
    return tr("Generated %n level(s) from seed %1.", "", static_cast<int>(m_levelCodes.size()))
        .arg(m_usedSeed);
  }
  return tr("Generated from seed %1: the shortest solution takes %n move(s).", "", m_foundMoves)
      .arg(m_usedSeed);
}

void CGenerateDlg::StartSearch() {
  const std::optional<GenerationRequest> request = Request();
  if (!request) return;
  // The seed shows at once, so that it can be copied even when nothing is found.
  m_usedSeed = request->seed;
  m_lastSeed->setText(QString::number(request->seed));
  RememberSettings();
  m_generate->setEnabled(false);
  m_progress->setText(tr("Searching..."));
  m_stop = false;
  SearchControl control;
  control.cancel = &m_stop;
  control.progress = [this](const SearchProgress& progress) {
    QMetaObject::invokeMethod(
        this, [this, progress] { ShowProgress(progress); }, Qt::QueuedConnection);
  };
  m_worker = QThread::create(
      [this, request = *request, control] { m_result = GenerateLevels(request, control); });
  connect(m_worker, &QThread::finished, this, &CGenerateDlg::SearchEnded);
  m_worker->start();
}

void CGenerateDlg::ShowProgress(const SearchProgress& progress) {
  if (m_worker == nullptr) return;
  const QString tried = tr("Tried %1 levels in %2 s")
                            .arg(progress.levelsTried)
                            .arg(static_cast<double>(progress.elapsed.count()) / 1000.0, 0, 'f', 1);
  m_progress->setText(
      wanted() == 1
          ? tried
          : tr("Found %1 of %2 levels. %3").arg(progress.levelsFound).arg(wanted()).arg(tried));
}

void CGenerateDlg::SearchEnded() {
  m_worker->deleteLater();
  m_worker = nullptr;
  m_generate->setEnabled(true);
  // Several levels asked for: those found are kept however the search ended,
  // so that a long run stopped with Cancel is not lost.
  if (!m_result.levels.empty()) {
    m_levelCodes.clear();
    for (const FoundLevel& level : m_result.levels) m_levelCodes.push_back(level.code);
    m_foundMoves = m_result.levels.front().moves;
    accept();
    return;
  }
  m_progress->setText(
      m_result.end == SearchEnd::Cancelled
          ? tr("Stopped.")
          : tr("No such level found in %1 tries from seed %2; try a wider range of moves.")
                .arg(m_result.tried)
                .arg(m_usedSeed));
}

// Cancel stops a search under way and leaves the dialog open; with no search
// it closes the dialog.
void CGenerateDlg::reject() {
  if (m_worker != nullptr) {
    m_stop = true;
    return;
  }
  QDialog::reject();
}

void CGenerateDlg::StopSearch() {
  if (m_worker == nullptr) return;
  m_stop = true;
  m_worker->wait();
  delete m_worker;
  m_worker = nullptr;
}
