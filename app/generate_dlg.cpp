#include "app/generate_dlg.h"

#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

/// A range of moves that a search finds quickly for each size.
int SuggestedFewestMoves(int size) { return size == 3 ? 6 : size == 5 ? 20 : 30; }

}  // namespace

CGenerateDlg::CGenerateDlg(int boardSize, QWidget* parent)
    : QDialog(parent),
      m_size(new QComboBox(this)),
      m_fewest(new QSpinBox(this)),
      m_most(new QSpinBox(this)),
      m_walls(new QSpinBox(this)),
      m_seed(new QLineEdit(this)),
      m_progress(new QLabel(this)),
      m_generate(new QPushButton(QStringLiteral("Generate"), this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)) {
  setWindowTitle(QStringLiteral("Generate a Level"));
  for (const int size : {3, 5, 7}) m_size->addItem(QStringLiteral("%1 x %1").arg(size), size);
  m_size->setCurrentIndex(m_size->findData(boardSize));
  m_fewest->setRange(0, 200);
  m_fewest->setValue(SuggestedFewestMoves(boardSize));
  m_most->setRange(0, 200);
  m_most->setSpecialValueText(QStringLiteral("no limit"));
  m_walls->setRange(0, 84);
  m_seed->setPlaceholderText(QStringLiteral("from the clock"));
  m_seed->setValidator(nullptr);
  connect(m_size, &QComboBox::currentIndexChanged, this,
          [this] { m_fewest->setValue(SuggestedFewestMoves(m_size->currentData().toInt())); });

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Board size:"), m_size);
  form->addRow(QStringLiteral("At least (moves):"), m_fewest);
  form->addRow(QStringLiteral("At most (moves):"), m_most);
  form->addRow(QStringLiteral("Walls opened:"), m_walls);
  form->addRow(QStringLiteral("Seed:"), m_seed);
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

GenerationRequest CGenerateDlg::Request() const {
  GenerationRequest request;
  request.size = m_size->currentData().toInt();
  request.minMoves = m_fewest->value();
  request.maxMoves = m_most->value() == m_most->minimum() ? NoMoveLimit : m_most->value();
  request.openWalls = m_walls->value();
  bool number = false;
  const qulonglong seed = m_seed->text().trimmed().toULongLong(&number);
  request.seed = number ? seed : static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch());
  return request;
}

void CGenerateDlg::StartSearch() {
  const GenerationRequest request = Request();
  if (const auto problem = GenerationRequestProblem(request)) {
    m_progress->setText(QString::fromStdString(*problem));
    return;
  }
  m_seed->setText(QString::number(request.seed));  // so that the same level can be made again
  m_generate->setEnabled(false);
  m_progress->setText(QStringLiteral("Searching..."));
  m_stop = false;
  SearchControl control;
  control.cancel = &m_stop;
  control.progress = [this](const SearchProgress& progress) {
    QMetaObject::invokeMethod(
        this, [this, progress] { ShowProgress(progress); }, Qt::QueuedConnection);
  };
  m_worker =
      QThread::create([this, request, control] { m_result = GenerateLevels(request, control); });
  connect(m_worker, &QThread::finished, this, &CGenerateDlg::SearchEnded);
  m_worker->start();
}

void CGenerateDlg::ShowProgress(const SearchProgress& progress) {
  if (m_worker == nullptr) return;
  m_progress->setText(QStringLiteral("Tried %1 levels in %2 s")
                          .arg(progress.levelsTried)
                          .arg(static_cast<double>(progress.elapsed.count()) / 1000.0, 0, 'f', 1));
}

void CGenerateDlg::SearchEnded() {
  m_worker->deleteLater();
  m_worker = nullptr;
  m_generate->setEnabled(true);
  if (!m_result.levels.empty()) {
    m_levelCode = m_result.levels.front().code;
    accept();
    return;
  }
  m_progress->setText(
      m_result.end == SearchEnd::Cancelled
          ? QStringLiteral("Stopped.")
          : QStringLiteral("No such level found in %1 tries; try a wider range of moves.")
                .arg(m_result.tried));
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
