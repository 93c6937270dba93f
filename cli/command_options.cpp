#include "cli/command_options.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

#include "cli/io/escaped_text.h"
#include "cli/suggestion.h"

namespace {

constexpr std::string_view Dashes = "--";

std::string ExpectsNumber(std::string_view name, std::string_view what, const std::string& text) {
  return std::string(name) + " expects " + std::string(what) + ", not " + QuoteText(text);
}

}  // namespace

OptionsAndOperands SplitOptions(const std::vector<std::string>& args) {
  OptionsAndOperands split;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == Dashes) {
      split.operands.insert(split.operands.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                            args.end());
      break;
    }
    if (arg.size() > Dashes.size() && arg.substr(0, Dashes.size()) == Dashes) {
      split.options.push_back(arg);
      if (arg.find('=') == std::string::npos && i + 1 < args.size())
        split.options.push_back(args[++i]);
    } else {
      split.operands.push_back(arg);
    }
  }
  return split;
}

Mistake ReadOptions(const std::vector<std::string>& args,
                    std::initializer_list<std::string_view> names, OptionValues& values,
                    std::initializer_list<std::string_view> flags) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == Dashes) {
      // The end of the options: these commands take no other arguments.
      if (i + 1 < args.size()) return "unexpected argument " + QuoteText(args[i + 1]);
      break;
    }
    if (arg.substr(0, Dashes.size()) != Dashes) return "unexpected argument " + QuoteText(arg);
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const bool isFlag = std::find(flags.begin(), flags.end(), name) != flags.end();
    if (!isFlag && std::find(names.begin(), names.end(), name) == names.end()) {
      std::vector<std::string_view> known(names.begin(), names.end());
      known.insert(known.end(), flags.begin(), flags.end());
      known.push_back("--help");
      return "unknown option " + QuoteText(name) + Suggestion(name, known);
    }
    if (values.count(name) != 0) return name + " is given twice";
    if (isFlag) {
      if (equals != std::string::npos) return name + " takes no value";
      values[name] = "";
    } else if (equals != std::string::npos) {
      values[name] = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      values[name] = args[++i];
    } else {
      return name + " needs a value";
    }
  }
  return std::nullopt;
}

std::optional<std::uint64_t> ReadWholeNumber(std::string_view text, std::uint64_t most) {
  if (text.empty() ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  std::uint64_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || number > most)
    return std::nullopt;
  return number;
}

Mistake ReadIntOption(const OptionValues& values, std::string_view name, int least, int& value) {
  const auto found = values.find(name);
  if (found == values.end()) return std::nullopt;
  const std::optional<std::uint64_t> number = ReadWholeNumber(found->second, INT_MAX);
  if (!number || *number < static_cast<std::uint64_t>(least)) {
    return ExpectsNumber(name, "a whole number from " + std::to_string(least), found->second);
  }
  value = static_cast<int>(*number);
  return std::nullopt;
}

Mistake ReadSeedOption(const OptionValues& values, std::string_view name,
                       std::optional<std::uint64_t>& seed) {
  const auto found = values.find(name);
  if (found == values.end()) return std::nullopt;
  seed = ReadWholeNumber(found->second, UINT64_MAX);
  if (!seed)
    return ExpectsNumber(name, "a whole number from 0 to 18446744073709551615", found->second);
  return std::nullopt;
}

Mistake ReadSecondsOption(const OptionValues& values, std::string_view name,
                          std::chrono::milliseconds& value) {
  const auto found = values.find(name);
  if (found == values.end()) return std::nullopt;
  const std::string& text = found->second;
  double seconds = 0;
  const bool plain = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= '0' && c <= '9') || c == '.';
  });
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (!plain || error != std::errc() || end != text.data() + text.size() || !(seconds > 0) ||
      seconds > 1e6) {
    return ExpectsNumber(name, "a number of seconds above 0, at most 1000000", text);
  }
  value = std::chrono::milliseconds(std::max<long long>(1, std::llround(seconds * 1000)));
  return std::nullopt;
}

Mistake ReadRange(const OptionValues& values, std::string_view name, std::string_view units,
                  int& min, std::optional<int>& max) {
  const auto found = values.find(name);
  if (found == values.end()) return std::nullopt;
  const std::string& text = found->second;
  const std::size_t dash = text.find('-');
  const std::optional<std::uint64_t> least = ReadWholeNumber(text.substr(0, dash), INT_MAX);
  std::optional<std::uint64_t> most;
  if (dash != std::string::npos) most = ReadWholeNumber(text.substr(dash + 1), INT_MAX);
  if (!least || (dash != std::string::npos && !most)) {
    return ExpectsNumber(name, "MIN or MIN-MAX, whole numbers of " + std::string(units), text);
  }
  min = static_cast<int>(*least);
  max.reset();
  if (most) max = static_cast<int>(*most);
  return std::nullopt;
}

std::string SecondsText(std::chrono::milliseconds time) {
  const long long ms = time.count();
  std::string text = std::to_string(ms / 1000);
  if (ms % 1000 == 0) return text;
  std::string decimals = std::to_string(1000 + ms % 1000).substr(1);
  while (decimals.back() == '0') decimals.pop_back();
  return text + "." + decimals;
}
