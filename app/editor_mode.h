#pragma once
// The editor's two modes: the classic editor, and designer mode with undo,
// the solution's length, the clipboard, level sets and generation.

enum class EditorMode { Classic, Designer };
