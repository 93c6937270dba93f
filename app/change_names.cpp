#include "app/change_names.h"

#include <QCoreApplication>

QString ChangeName(ChangeKind kind) {
  switch (kind) {
    case ChangeKind::FlipWall: return QCoreApplication::translate("ChangeName", "Wall Flip");
    case ChangeKind::MoveBall: return QCoreApplication::translate("ChangeName", "Ball Move");
    case ChangeKind::MoveHole: return QCoreApplication::translate("ChangeName", "Hole Move");
    case ChangeKind::NewBoard: return QCoreApplication::translate("ChangeName", "New Board");
    case ChangeKind::Clear: return QCoreApplication::translate("ChangeName", "Clear");
    case ChangeKind::RandomMaze: return QCoreApplication::translate("ChangeName", "Random Maze");
    case ChangeKind::XFlip: return QCoreApplication::translate("ChangeName", "X-flip");
    case ChangeKind::YFlip: return QCoreApplication::translate("ChangeName", "Y-flip");
    case ChangeKind::Rotate: return QCoreApplication::translate("ChangeName", "Rotate");
    case ChangeKind::SolutionStep:
      return QCoreApplication::translate("ChangeName", "Solution Step");
    case ChangeKind::LevelCode: return QCoreApplication::translate("ChangeName", "Level Code");
    case ChangeKind::Paste: return QCoreApplication::translate("ChangeName", "Paste");
    case ChangeKind::Generate: return QCoreApplication::translate("ChangeName", "Generate");
    case ChangeKind::EditSetLevel: return QCoreApplication::translate("ChangeName", "Edit Level");
    case ChangeKind::AddLevel: return QCoreApplication::translate("ChangeName", "Add Level");
    case ChangeKind::UpdateLevel: return QCoreApplication::translate("ChangeName", "Update Level");
    case ChangeKind::RemoveLevel: return QCoreApplication::translate("ChangeName", "Remove Level");
    case ChangeKind::MoveLevelUp: return QCoreApplication::translate("ChangeName", "Move Up");
    case ChangeKind::MoveLevelDown: return QCoreApplication::translate("ChangeName", "Move Down");
    case ChangeKind::Titles: return QCoreApplication::translate("ChangeName", "Titles");
    case ChangeKind::AddLevels: return QCoreApplication::translate("ChangeName", "Add Levels");
    case ChangeKind::SortLevels: return QCoreApplication::translate("ChangeName", "Sort");
    case ChangeKind::RenameLevel: return QCoreApplication::translate("ChangeName", "Rename Level");
  }
  return {};
}
