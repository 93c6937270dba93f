#include "cli/completions.h"

#include <sstream>

#include "cli/command_table.h"

namespace {

/// The words of a text between blanks and line breaks.
std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::istringstream in{std::string(text)};
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

bool IsOption(std::string_view word) { return word.substr(0, 2) == "--"; }

/// A value named by alternatives ("moves|effort") lists its choices.
bool IsChoice(std::string_view value) {
  return value.find('|') != std::string_view::npos &&
         value.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string_view::npos;
}

/// The choices of a value, separated by blanks.
std::string Choices(std::string value) {
  for (char& c : value) {
    if (c == '|') c = ' ';
  }
  return value;
}

/// The first line of a command's summary, without its closing punctuation,
/// for the shells that show what a command does.
std::string ShortSummary(std::string_view summary) {
  std::string line(summary.substr(0, summary.find('\n')));
  while (!line.empty() && (line.back() == ':' || line.back() == ',' || line.back() == '.')) {
    line.pop_back();
  }
  return line;
}

/// The text between single quotes in a shell script: each ' as '\''.
std::string Quoted(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string CommandNames() {
  std::string names;
  for (const ToolCommand& command : ToolCommands) names += std::string(command.name) + " ";
  return names + "help";
}

/// bash: the case for one command, after its name.
std::string BashCase(const ToolCommand& command) {
  const CommandWords words = ReadSynopsis(command.synopsis);
  std::string options = "--help";
  std::string valueCases;
  for (const CompletedOption& option : words.options) {
    options += " " + option.name;
    if (option.value.empty()) continue;
    std::string reply;  // none for a number: nothing to offer
    if (IsChoice(option.value)) {
      reply = "COMPREPLY=($(compgen -W " + Quoted(Choices(option.value)) + " -- \"$cur\")); ";
    } else if (option.value == "FILE") {
      reply = "COMPREPLY=($(compgen -f -- \"$cur\")); ";
    }
    valueCases += "        " + option.name + ") " + reply + "return ;;\n";
  }
  std::string text = "    " + std::string(command.name) + ")\n";
  if (!valueCases.empty()) text += "      case $prev in\n" + valueCases + "      esac\n";
  const std::string optionReply = "COMPREPLY=($(compgen -W " + Quoted(options) + " -- \"$cur\"))";
  if (words.takesFiles) {
    text += "      if [[ $cur == -?* ]]; then " + optionReply +
            "; else COMPREPLY=($(compgen -f -- \"$cur\")); fi ;;\n";
  } else {
    text += "      " + optionReply + " ;;\n";
  }
  return text;
}

/// zsh: the word that _arguments takes for one option (name, help, value, completer).
std::string ZshOption(const CompletedOption& option) {
  if (option.value.empty()) return "'" + option.name + "[" + option.name.substr(2) + "]'";
  std::string action = " ";
  if (IsChoice(option.value)) action = "(" + Choices(option.value) + ")";
  if (option.value == "FILE") action = "_files";
  return "'" + option.name + "=[" + option.value + "]:" + option.value + ":" + action + "'";
}

/// fish: the lines of one command.
std::string FishCommand(const ToolCommand& command) {
  const std::string name(command.name);
  const std::string given = "-n '__fish_seen_subcommand_from " + name + "'";
  std::string text = "complete -c korvalo-level -n __fish_use_subcommand -a " + name + " -d " +
                     Quoted(ShortSummary(command.summary)) + "\n";
  const CommandWords words = ReadSynopsis(command.synopsis);
  for (const CompletedOption& option : words.options) {
    text += "complete -c korvalo-level " + given + " -l " + option.name.substr(2);
    if (IsChoice(option.value)) {
      text += " -x -a " + Quoted(Choices(option.value));
    } else if (option.value == "FILE") {
      text += " -r -F";
    } else if (!option.value.empty()) {
      text += " -x -d " + Quoted(option.value);
    }
    text += "\n";
  }
  text += "complete -c korvalo-level " + given + " -l help -s h -d 'the command\\'s help'\n";
  if (words.takesFiles) text += "complete -c korvalo-level " + given + " -F\n";
  return text;
}

}  // namespace

CommandWords ReadSynopsis(std::string_view synopsis) {
  CommandWords read;
  const std::vector<std::string> words = Words(synopsis);
  for (std::size_t i = 0; i < words.size(); ++i) {
    std::string word = words[i];
    if (!word.empty() && word.front() == '[') word.erase(0, 1);
    if (!IsOption(word)) {
      if (word.find("FILE") != std::string::npos) read.takesFiles = true;
      continue;
    }
    CompletedOption option;
    const std::size_t end = word.find(']');
    option.name = word.substr(0, end);
    // "[--unique]" closes at once; "--size N" and "[--count K]" name a value.
    const bool flag = end != std::string::npos;
    if (!flag && i + 1 < words.size() && !IsOption(words[i + 1]) && words[i + 1].front() != '[') {
      option.value = words[++i];
      while (!option.value.empty() && option.value.back() == ']') option.value.pop_back();
    }
    read.options.push_back(option);
  }
  return read;
}

std::string BashCompletion() {
  std::string text =
      "# bash completion for korvalo-level, made from its command table.\n"
      "_korvalo_level() {\n"
      "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
      "  COMPREPLY=()\n"
      "  if [ \"$COMP_CWORD\" -eq 1 ]; then\n"
      "    COMPREPLY=($(compgen -W " +
      Quoted(CommandNames() + " --help --version") +
      " -- \"$cur\"))\n"
      "    return\n"
      "  fi\n"
      "  case ${COMP_WORDS[1]} in\n"
      "    help)\n"
      "      [ \"$COMP_CWORD\" -eq 2 ] && COMPREPLY=($(compgen -W " +
      Quoted(CommandNames()) + " -- \"$cur\")) ;;\n";
  for (const ToolCommand& command : ToolCommands) text += BashCase(command);
  return text +
         "  esac\n"
         "}\n"
         "complete -o filenames -F _korvalo_level korvalo-level\n";
}

std::string ZshCompletion() {
  std::string text =
      "#compdef korvalo-level\n"
      "# zsh completion for korvalo-level, made from its command table.\n"
      "_korvalo_level() {\n"
      "  local -a commands\n"
      "  commands=(\n";
  for (const ToolCommand& command : ToolCommands) {
    text += "    " + Quoted(std::string(command.name) + ":" + ShortSummary(command.summary)) + "\n";
  }
  text +=
      "    'help:prints the help of the tool or of a command'\n"
      "  )\n"
      "  if (( CURRENT == 2 )); then\n"
      "    _describe -t commands 'korvalo-level command' commands\n"
      "    _arguments '(- *)--help[the help]' '(- *)--version[the version]'\n"
      "    return\n"
      "  fi\n"
      "  shift words\n"
      "  (( CURRENT-- ))\n"
      "  case $words[1] in\n"
      "    help) _describe -t commands 'korvalo-level command' commands ;;\n";
  for (const ToolCommand& command : ToolCommands) {
    const CommandWords words = ReadSynopsis(command.synopsis);
    // Appended in place: GCC 12 at -O3 takes a chain of + that starts with a
    // literal for a possible overlap of the copies (-Wrestrict).
    text.append("    ").append(command.name);
    text.append(") _arguments '(- *)--help[the command'\\''s help]'");
    for (const CompletedOption& option : words.options) text.append(" ").append(ZshOption(option));
    if (words.takesFiles) text += " '*:file:_files'";
    text += " ;;\n";
  }
  return text +
         "  esac\n"
         "}\n"
         "_korvalo_level \"$@\"\n";
}

std::string FishCompletion() {
  std::string text =
      "# fish completion for korvalo-level, made from its command table.\n"
      "complete -c korvalo-level -f\n"
      "complete -c korvalo-level -n __fish_use_subcommand -l help -s h -d 'the help'\n"
      "complete -c korvalo-level -n __fish_use_subcommand -l version -s v -d 'the version'\n"
      "complete -c korvalo-level -n __fish_use_subcommand -a help -d 'prints the help of the "
      "tool or of a command'\n"
      "complete -c korvalo-level -n '__fish_seen_subcommand_from help' -x -a " +
      Quoted(CommandNames()) + "\n";
  for (const ToolCommand& command : ToolCommands) text += FishCommand(command);
  return text;
}
