#include "app/level_set_panel.h"

#include <QAction>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/play_figures_fetcher.h"
#include "drawing/board_geometry.h"
#include "logic/level_analysis.h"
#include "logic/level_code.h"
#include "view/grade_wording.h"

namespace {

constexpr int PictureSize = 64;
constexpr int PanelMinimumWidth = 310;

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

/// A colour's shape (a disc for blue, a triangle for green, a square for red)
/// around a centre, side long.
QPainterPath ShapePath(int colour, QPointF centre, qreal side) {
  QPainterPath path;
  const QRectF box(centre.x() - side / 2, centre.y() - side / 2, side, side);
  switch (colour) {
    case 0: path.addEllipse(box); break;
    case 1:
      path.moveTo(box.center().x(), box.top());
      path.lineTo(box.bottomRight());
      path.lineTo(box.bottomLeft());
      path.closeSubpath();
      break;
    default: path.addRect(box); break;
  }
  return path;
}

/// Draws the colours' shapes over a picture made small, where the board's own
/// marks shrink to a few pixels: each hole's shape in its colour, each ball's
/// in black, rimmed so that they stand out on any row, selected or not.
/// pixelsPerBoardPixel maps the cropped board (from the first wall gap) onto
/// the picture's device pixels.
void DrawReadableSymbols(QImage& picture, const Level& level, qreal pixelsPerBoardPixel,
                         qreal ratio) {
  static const QColor holeColours[] = {QColor(70, 100, 235), QColor(40, 170, 60),
                                       QColor(225, 50, 50)};
  const qreal pitch = Pitch * pixelsPerBoardPixel;
  const qreal holeSide = std::max(7.0 * ratio, 0.8 * pitch);
  const qreal markSide = std::max(5.0 * ratio, 0.5 * pitch);
  const auto centreOf = [&](const Piece& piece) {
    const qreal offset = GapSize + SquareSize / 2.0;
    return QPointF((offset + Pitch * piece.column) * pixelsPerBoardPixel,
                   (offset + Pitch * piece.row) * pixelsPerBoardPixel);
  };
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal rim = std::max(1.0, ratio);
  for (const Piece& hole : level.holes) {
    painter.setPen(QPen(Qt::black, rim));
    painter.setBrush(holeColours[hole.colour]);
    painter.drawPath(ShapePath(hole.colour, centreOf(hole), holeSide));
  }
  for (const Piece& ball : level.balls) {
    painter.setPen(QPen(Qt::white, rim));
    painter.setBrush(Qt::black);
    painter.drawPath(ShapePath(ball.colour, centreOf(ball), markSide));
  }
}

/// A caption as it reads: a mnemonic's '&' left out, a written "&&" one '&'.
QString WithoutMnemonic(const QString& caption) {
  QString text;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) ++i;
    text += caption[i];
  }
  return text;
}

}  // namespace

QString SetDisplayName(const SetDocument& set) {
  if (!set.set().title.empty()) return FromStd(set.set().title);
  if (!set.path().empty()) return QFileInfo(FromStd(set.path())).fileName();
  return CLevelSetPanel::tr("Untitled set");
}

CLevelSetPanel::CLevelSetPanel(GradeParameters grading, QWidget* parent)
    : QWidget(parent),
      m_heading(new QLabel(this)),
      m_marks(new QLabel(this)),
      m_list(new QListWidget(this)),
      m_buttons(new QWidget(this)),
      m_grading(grading),
      m_people(new CPlayFiguresFetcher(this)) {
  setObjectName(QStringLiteral("levelSetPanel"));
  setMinimumWidth(PanelMinimumWidth);
  m_list->setIconSize(QSize(PictureSize, PictureSize));
  m_list->setSelectionMode(QAbstractItemView::SingleSelection);
  m_list->setUniformItemSizes(true);
  m_list->setAccessibleName(tr("Levels of the set"));
  m_heading->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 0, 0, 0);
  layout->addWidget(m_heading);
  layout->addWidget(m_marks);
  m_marks->setObjectName(QStringLiteral("setMarks"));
  m_marks->hide();
  layout->addWidget(m_list, 1);
  layout->addWidget(m_buttons);
  auto* buttons = new QHBoxLayout(m_buttons);
  buttons->setContentsMargins(0, 0, 0, 0);
  connect(m_list, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { emit levelActivated(m_list->row(item)); });
  connect(m_list, &QListWidget::currentRowChanged, this, &CLevelSetPanel::selectionChanged);
  connect(m_people, &CPlayFiguresFetcher::changed, this, [this] {
    ShowPlayFigures();
    for (int row = 0; row < m_list->count(); ++row) m_list->item(row)->setText(RowText(row));
  });
}

void CLevelSetPanel::AddButtons(const QList<QPair<QString, QAction*>>& buttons) {
  for (const auto& [label, action] : buttons) {
    auto* button = new QPushButton(label, m_buttons);
    // The command's full name and its key, as the menu shows them, without
    // the menu's mnemonic marker.
    const QString name = WithoutMnemonic(action->text().section(QLatin1Char('\t'), 0, 0));
    const QString key = action->text().section(QLatin1Char('\t'), 1);
    button->setToolTip(key.isEmpty() ? name : tr("%1 (%2)").arg(name, key));
    button->setAccessibleName(name);
    button->setEnabled(action->isEnabled());
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    connect(action, &QAction::changed, button,
            [button, action] { button->setEnabled(action->isEnabled()); });
    m_buttons->layout()->addWidget(button);
  }
  // However narrow the window, the buttons keep room for their texts, which
  // are longer in some languages.
  setMinimumWidth(std::max(PanelMinimumWidth, layout()->minimumSize().width()));
}

void CLevelSetPanel::Show(const SetDocument& set) {
  const int selected = selectedIndex();
  m_heading->setText(SetDisplayName(set) + (set.modified() ? QStringLiteral(" *") : QString()));
  m_heading->setToolTip(FromStd(set.path()));
  m_list->clear();
  m_rowTexts.clear();
  m_codes.clear();
  for (const SetLevel& level : set.set().levels) m_codes.push_back(level.code);
  ShowPlayFigures();
  int number = 1;
  for (const SetLevel& level : set.set().levels) {
    const QString title = level.title.empty() ? tr("Level %1").arg(number) : FromStd(level.title);
    m_rowTexts << tr("%1. %2\n%3").arg(number).arg(title, Figures(level.code));
    auto* item = new QListWidgetItem(Picture(level.code), RowText(number - 1));
    item->setToolTip(FromStd(level.code));
    if (number - 1 == m_boardLevel) {
      QFont font = item->font();
      font.setBold(true);
      item->setFont(font);
    }
    m_list->addItem(item);
    ++number;
  }
  Select(std::min(selected, m_list->count() - 1));
  m_people->Want(m_codes);
}

// Rows with people's lines differ in height (a published level's has two):
// the list then measures each row.
void CLevelSetPanel::ShowPlayFigures() {
  m_peopleLines = m_people->Lines(m_codes);
  m_list->setUniformItemSizes(m_peopleLines.isEmpty());
}

void CLevelSetPanel::ShowMarks(bool readOnly, const QString& sortedBy) {
  QStringList marks;
  if (readOnly) marks << tr("Read-only file: Save As keeps the changes.");
  if (!sortedBy.isEmpty()) marks << tr("Sorted by %1.").arg(sortedBy);
  m_marks->setText(marks.join(QLatin1Char(' ')));
  m_marks->setVisible(!marks.isEmpty());
}

QString CLevelSetPanel::RowText(int index) const {
  const QString people = m_peopleLines.value(index);
  const QString text = people.isEmpty() ? m_rowTexts[index] : m_rowTexts[index] + "\n" + people;
  if (index != m_boardLevel) return text;
  return text + (m_boardChanged ? tr(" - on the board, changed") : tr(" - on the board"));
}

void CLevelSetPanel::MarkBoardLevel(int index, bool boardChanged) {
  if (index == m_boardLevel && boardChanged == m_boardChanged) return;
  const int previous = m_boardLevel;
  m_boardLevel = index;
  m_boardChanged = boardChanged;
  for (const int row : {previous, index}) {
    if (row < 0 || row >= m_list->count()) continue;
    QListWidgetItem* item = m_list->item(row);
    item->setText(RowText(row));
    QFont font = item->font();
    font.setBold(row == m_boardLevel);
    item->setFont(font);
  }
}

QList<QWidget*> CLevelSetPanel::FocusOrder() const {
  QList<QWidget*> order{m_list};
  for (QPushButton* button : m_buttons->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
    order << button;
  return order;
}

int CLevelSetPanel::selectedIndex() const { return m_list->currentRow(); }

void CLevelSetPanel::Select(int index) { m_list->setCurrentRow(index); }

void CLevelSetPanel::SetPieceSymbols(bool on) {
  DrawOptions options = m_renderer.options();
  if (options.symbols == on) return;
  options.symbols = on;
  m_renderer.SetOptions(options);
  m_pictures.clear();
}

// The board is drawn at 1x and made smaller to the picture's size in device
// pixels: a picture is never enlarged, so never blurred.
QIcon CLevelSetPanel::Picture(const std::string& code) {
  const qreal ratio = devicePixelRatioF();
  if (ratio != m_picturesRatio) {
    m_pictures.clear();
    m_picturesRatio = ratio;
  }
  const QString key = FromStd(code);
  if (const auto found = m_pictures.find(key); found != m_pictures.end()) return *found;
  Level level;
  QIcon picture;
  // The picture is cropped to the board, so its lamp needs no search.
  if (ParseLevelCode(level, code).accepted) {
    const int n = level.boardSize;
    const int frame = BoardOffset(n) + 10;
    const int side = Pitch * n + GapSize;
    const QImage board = m_renderer.DrawFrame(level).copy(frame, frame, side, side);
    const int pixels = qRound(PictureSize * ratio);
    QImage small = board.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (m_renderer.options().symbols)
      DrawReadableSymbols(small, level, static_cast<qreal>(small.width()) / board.width(), ratio);
    small.setDevicePixelRatio(ratio);
    const QPixmap pixmap = QPixmap::fromImage(small);
    picture = QIcon(pixmap);
    // The selected row shows the picture as it is, not tinted in the row's colour.
    picture.addPixmap(pixmap, QIcon::Selected);
  }
  m_pictures.insert(key, picture);
  return picture;
}

QString CLevelSetPanel::Figures(const std::string& code) {
  const QString key = FromStd(code);
  if (const auto found = m_figures.find(key); found != m_figures.end()) return *found;
  Level level;
  QString figures = tr("not a level");
  if (ParseLevelCode(level, code).accepted) {
    const LevelAnalysis& analysis = m_analyzer.Analyze(level);
    if (!analysis.solvable) {
      figures = tr("no solution");
    } else if (analysis.moves == 0) {
      figures = tr("solved");
    } else {
      const QString solutions =
          analysis.solutions == ManySolutions
              ? tr("%1+ solutions").arg(SolutionCountLimit)
              : tr("%n solution(s)", "", static_cast<int>(analysis.solutions));
      figures = tr("%n move(s)", "", analysis.moves) + QStringLiteral(" \u00b7 ") + solutions +
                QStringLiteral(" \u00b7 ") + tr("effort %1").arg(analysis.greedyEffort) +
                QStringLiteral(" \u00b7 ") + GradeWord(GradeLevel(analysis, m_grading)->grade);
    }
  }
  m_figures.insert(key, figures);
  return figures;
}
