#pragma once
// Options with values on a command line, "--name VALUE" or "--name=VALUE",
// and the numbers they hold.

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// What is wrong with a command line, for the user; nothing when all is well.
using Mistake = std::optional<std::string>;

/// Option values by name ("--size").
using OptionValues = std::map<std::string, std::string, std::less<>>;

/// A command line of options that all take a value, and operands.
struct OptionsAndOperands {
  std::vector<std::string> options;   // each with its value when not written "--name=VALUE"
  std::vector<std::string> operands;  // in their order
};

/// Splits the arguments into options, which may stand anywhere, and operands.
/// An option ("--name") takes the next argument as its value, whatever it
/// looks like, unless it is written "--name=VALUE". "--" ends the options:
/// every argument after it is an operand, however it starts. The options go
/// to ReadOptions, which checks them.
OptionsAndOperands SplitOptions(const std::vector<std::string>& args);

/// Reads the arguments as options with values, each of them one of the names
/// and given at most once; no other argument is taken. The flags are options
/// without a value ("--unique"): one that is given holds an empty value.
Mistake ReadOptions(const std::vector<std::string>& args,
                    std::initializer_list<std::string_view> names, OptionValues& values,
                    std::initializer_list<std::string_view> flags = {});

/// A number of decimal digits only, without sign or blanks, at most most.
std::optional<std::uint64_t> ReadWholeNumber(std::string_view text, std::uint64_t most);

/// The option's whole number, from least up to the largest int; value stays
/// when the option is absent.
Mistake ReadIntOption(const OptionValues& values, std::string_view name, int least, int& value);

/// The option's whole number of 64 bits (a seed), when it is given.
Mistake ReadSeedOption(const OptionValues& values, std::string_view name,
                       std::optional<std::uint64_t>& seed);

/// The option's time in seconds, decimals allowed (0.5), above zero and at
/// most a million: in milliseconds, at least 1. value stays when absent.
Mistake ReadSecondsOption(const OptionValues& values, std::string_view name,
                          std::chrono::milliseconds& value);

/// The option's "MIN" or "MIN-MAX", whole numbers of the units named
/// ("moves"); max stays empty for "MIN". min and max stay when the option is
/// absent.
Mistake ReadRange(const OptionValues& values, std::string_view name, std::string_view units,
                  int& min, std::optional<int>& max);

/// Milliseconds as seconds with as few decimals as they need: "60", "0.25".
std::string SecondsText(std::chrono::milliseconds time);
