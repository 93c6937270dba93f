// korvalo-level calibrate: fits the difficulty grade's parameters to the
// players' ratings of settled levels, from the CSV of `korvz --admin export`.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <system_error>

#include "cli/command_options.h"
#include "cli/command_table.h"
#include "cli/io/atomic_file.h"
#include "cli/io/escaped_text.h"
#include "logic/calibration.h"
#include "logic/glicko2.h"

namespace {

constexpr std::string_view CalibrateHelp =
    "Usage: korvalo-level calibrate [--output FILE] [--rounds N] CSV\n"
    "\n"
    "Reads the site's figures (the CSV of korvz --admin export), keeps the levels\n"
    "whose rating is settled (deviation below 110), and fits the difficulty\n"
    "grade's weights (see korvalo-level grade --help) so that its points best\n"
    "predict the ratings, on the scale of the default points (the thresholds\n"
    "stay). Prints, for each measure (moves, solutions, counter_intuitive,\n"
    "greedy_effort) and for the fit, its rank correlation with the rating and a\n"
    "95% bootstrap interval (--rounds resamples, 1000 by default), and writes the\n"
    "parameters to --output, by default where korvalo-level grade reads them:\n"
    "$XDG_CONFIG_HOME/korvalo/grade_parameters.txt (~/.config/korvalo/ when\n"
    "XDG_CONFIG_HOME is unset). With --output -, the parameters alone go to\n"
    "standard output and the correlations to standard error.\n"
    "\n"
    "Exit status: 0 when the parameters are written, 1 when the file cannot be\n"
    "read or written or holds too few settled levels, 2 for a wrong command line.\n";

int Fail(CommandStreams& streams, const std::string& reason) {
  streams.err.Write("korvalo-level calibrate: " + EscapeText(reason) + "\n");
  return CommandFailure;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  std::string field;
  while (std::getline(in, field, ',')) fields.push_back(field);
  if (!line.empty() && line.back() == ',') fields.emplace_back();
  return fields;
}

std::optional<double> Number(const std::string& text) {
  try {
    std::size_t used = 0;
    const double value = std::stod(text, &used);
    if (used != text.size()) return std::nullopt;
    return value;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::string Figure(double value) {
  char text[16];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

}  // namespace

int RunCalibrate(const std::vector<std::string>& args, CommandStreams& streams) {
  if (args.size() == 1 && IsHelpOption(args[0])) {
    streams.out.Write(CalibrateHelp);
    return 0;
  }
  if (AsksForHelp(args))
    return RefuseCommandLine("calibrate", "--help (or -h) takes no other arguments", streams.err);
  const auto [options, operands] = SplitOptions(args);
  OptionValues values;
  if (auto mistake = ReadOptions(options, {"--output", "--rounds"}, values))
    return RefuseCommandLine("calibrate", *mistake, streams.err);
  if (operands.size() != 1)
    return RefuseCommandLine("calibrate", "expects one CSV file", streams.err);
  const bool installs = values.count("--output") == 0;
  const std::string output =
      installs ? InstalledGradeParametersPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"))
               : values.at("--output");
  if (output.empty())
    return Fail(streams, "neither XDG_CONFIG_HOME nor HOME is set: name the file with --output");
  int rounds = 1000;
  if (values.count("--rounds")) {
    const auto number = Number(values.at("--rounds"));
    if (!number || *number < 1 || *number > 100000 || *number != static_cast<int>(*number))
      return RefuseCommandLine("calibrate", "--rounds takes a whole number from 1 to 100000",
                               streams.err);
    rounds = static_cast<int>(*number);
  }

  std::ifstream file(operands[0]);
  if (!file) return Fail(streams, "cannot read " + QuoteFileName(operands[0]));
  std::string line;
  std::getline(file, line);
  const std::vector<std::string> header = Fields(line);
  std::map<std::string, std::size_t> column;
  for (std::size_t i = 0; i < header.size(); ++i) column[header[i]] = i;
  std::vector<std::string> needed = {"rating", "deviation"};
  for (const char* name : GradeMeasureNames) needed.emplace_back(name);
  for (const std::string& name : needed)
    if (!column.count(name)) return Fail(streams, "the CSV has no column " + name);

  std::vector<GradeMeasures> measures;
  std::vector<double> ratings;
  int lineNumber = 1;
  while (std::getline(file, line)) {
    ++lineNumber;
    if (line.empty()) continue;
    const std::vector<std::string> fields = Fields(line);
    std::vector<double> numbers;
    for (const std::string& name : needed) {
      const auto number =
          column[name] < fields.size() ? Number(fields[column[name]]) : std::nullopt;
      if (!number) {
        streams.err.Write(FileLinePrefix(operands[0], static_cast<std::size_t>(lineNumber)) +
                          "no number for " + name + "\n");
        return CommandFailure;
      }
      numbers.push_back(*number);
    }
    if (!(numbers[1] < SettledDeviation)) continue;
    ratings.push_back(numbers[0]);
    measures.emplace_back(numbers.begin() + 2, numbers.end());
  }
  const auto fit = FitGrade(measures, ratings);
  if (!fit)
    return Fail(streams, std::to_string(ratings.size()) +
                             " settled levels are too few to fit the grade (at least " +
                             std::to_string(GradeMeasureCount + 2) + ")");

  // With --output -, standard output holds the parameters alone.
  const bool toStandardOutput = output == StandardOutputName;
  CheckedOutput& said = toStandardOutput ? streams.err : streams.out;
  said.Write(std::to_string(ratings.size()) +
             " settled levels; rank correlation with the rating (95% interval):\n");
  const auto report = [&](const std::string& name, const std::vector<double>& values) {
    const Interval interval = BootstrapInterval(values, ratings, rounds, 20261211);
    said.Write(name + "\t" + Figure(RankCorrelation(values, ratings)) + "\t(" +
               Figure(interval.low) + " to " + Figure(interval.high) + ")\n");
  };
  for (std::size_t i = 0; i < GradeMeasureCount; ++i) {
    std::vector<double> values;
    for (const GradeMeasures& level : measures) values.push_back(level[i]);
    report(GradeMeasureNames[i], values);
  }
  std::vector<double> grades;
  for (const GradeMeasures& level : measures) grades.push_back(GradePoints(level, *fit));
  report("fit", grades);

  if (toStandardOutput) {
    streams.out.Write(WriteGradeParameters(*fit));
    return 0;
  }
  if (installs) {
    std::error_code ignored;  // a folder that cannot be made is said by the write
    std::filesystem::create_directories(std::filesystem::path(output).parent_path(), ignored);
  }
  if (const auto failure = ReplaceFile(output, WriteGradeParameters(*fit)))
    return Fail(streams, failure->message);
  streams.out.Write("parameters written to " + EscapeText(output) + "\n");
  return 0;
}
