#pragma once
// Shell completion scripts for korvalo-level, made from the command table:
// a new command or option there comes into every shell's completion.

#include <string>
#include <string_view>
#include <vector>

/// An option of a command as its usage line shows it.
struct CompletedOption {
  std::string name;  // "--size"
  /// What its value is called ("N", "FILE", "moves|effort"); empty for a flag.
  std::string value;
};

/// What the usage line of a command says it takes.
struct CommandWords {
  std::vector<CompletedOption> options;  // --help not included
  bool takesFiles = false;               // FILE among its operands
};

/// Reads a synopsis of the command table ("--size N [--unique] [FILE | -]").
CommandWords ReadSynopsis(std::string_view synopsis);

/// The scripts: for bash (/usr/share/bash-completion/completions/korvalo-level),
/// zsh (/usr/share/zsh/vendor-completions/_korvalo-level) and fish
/// (/usr/share/fish/vendor_completions.d/korvalo-level.fish).
std::string BashCompletion();
std::string ZshCompletion();
std::string FishCompletion();
