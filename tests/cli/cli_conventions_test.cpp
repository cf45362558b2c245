// How ulm5-cli ends and where its output goes, as a script relies on it:
// signals, output files that are not regular files, JSON on every ending,
// and a help, manual page and completion that name the same options.

#include <signal.h>
#include <sys/stat.h>

#include <atomic>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <thread>

#include "cli_fixture.h"

namespace {

using cli_test::CliAgainstSimulator;
using cli_test::has;
using json = nlohmann::ordered_json;
namespace fs = std::filesystem;

TEST_F(CliAgainstSimulator, ASignalEndsTheWorkAsCtrlCDoes) {
  const std::string backup = path("golden.json");
  ASSERT_EQ(run(at("115200", {"backup", backup})).code, 0);
  const std::string file = path("копия.json");
  const struct {
    std::vector<std::string> command;
    int signal;
    uint64_t after;  // requests answered before the signal
    int code;
  } cases[] = {
      // Identification, general settings read, three writes: the sixth is
      // the first setpoint write.
      {{"restore", "--json", backup}, SIGTERM, 6, 143},
      {{"restore", "--json", backup}, SIGHUP, 6, 129},
      {{"backup", file}, SIGTERM, 3, 143},
      {{"watch"}, SIGINT, 1, 130},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command[0] + " " + std::to_string(c.signal));
    const uint64_t before = simulator_.requestsServed();
    std::atomic<bool> done{false};
    std::thread sender([&] {
      while (!done && simulator_.requestsServed() < before + c.after) std::this_thread::yield();
      if (!done) ::kill(::getpid(), c.signal);
    });
    const Result result = c.command[0] == "watch" ? runAtRealTime(at("115200", c.command))
                                                  : run(at("115200", c.command));
    done = true;
    sender.join();
    EXPECT_EQ(result.code, c.code) << result.err;
    EXPECT_EQ(simulator_.requestsServed(), before + c.after) << "nothing sent after the signal";
    if (c.command[0] == "restore") {
      EXPECT_TRUE(has(result.err,
                      "cancelled after the write under way: general settings: "
                      "written; scale and setpoints: partly written"))
          << result.err;
      EXPECT_EQ(json::parse(result.out)["exitCode"], c.code);
    }
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(fs::exists(file + ".part"));
  }
}

// "-" is standard output; a named pipe or a device is written to, not
// replaced; a symbolic link stays a link to the file it names.
TEST_F(CliAgainstSimulator, OutputsGoWhereTheyAreNamed) {
  const fs::path start = fs::current_path();
  fs::current_path(dir_);
  const Result csv = run(at("115200", {"archive", "--count", "2", "--csv", "-"}));
  fs::current_path(start);
  EXPECT_EQ(csv.code, 0) << csv.err;
  EXPECT_TRUE(has(csv.out, "Дата,время")) << csv.out;
  EXPECT_FALSE(fs::exists(path("-")));

  const std::string target = path("прибор.json");
  const std::string link = path("latest.json");
  write(target, "yesterday's");
  fs::create_symlink(target, link);
  EXPECT_EQ(run(at("115200", {"backup", link})).code, 0);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(json::parse(read(target))["format"], "ulm5-configuration");

  const std::string fifo = path("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string piped;
  std::thread reader([&] { piped = read(fifo); });
  const Result toPipe = run(at("115200", {"backup", fifo}));
  reader.join();
  EXPECT_EQ(toPipe.code, 0) << toPipe.err;
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_EQ(json::parse(piped)["format"], "ulm5-configuration");
  EXPECT_FALSE(fs::exists(fifo + ".part"));
}

// A script reading --json gets an object whatever the ending.
TEST_F(CliAgainstSimulator, RestoreAnswersInJsonOnEveryEnding) {
  const std::string backup = path("golden.json");
  ASSERT_EQ(run(at("115200", {"backup", backup})).code, 0);
  const std::string damaged = path("damaged.json");
  write(damaged, read(backup).substr(0, 200));

  const Result refused = run(at("115200", {"restore", "--json", damaged}));
  EXPECT_EQ(refused.code, 5);
  const json r = json::parse(refused.out);
  EXPECT_EQ(r["outcome"], "refused");
  EXPECT_EQ(r["exitCode"], 5);
  EXPECT_TRUE(has(r["cause"].get<std::string>(), "not JSON")) << refused.out;

  const Result noPort = run({"--port", path("ttyUSB9"), "restore", "--json", backup});
  EXPECT_EQ(noPort.code, 3);
  EXPECT_TRUE(has(json::parse(noPort.out)["cause"].get<std::string>(), "does not exist"));

  const Result dryRun = run({"restore", "--dry-run", "--json", backup});
  EXPECT_EQ(dryRun.code, 0) << dryRun.err;
  const json writes = json::parse(dryRun.out)["writes"];
  ASSERT_FALSE(writes.empty());
  // The address, speed and protocol stay as the instrument has them.
  EXPECT_TRUE(writes[0]["hex"].get<std::string>().starts_with("-- -- --")) << writes[0];
  EXPECT_EQ(writes[0]["fields"],
            "general.address, general.speed, general.protocol, "
            "general.inputType");
}

// The first group of every match: options, subcommands.
std::set<std::string> optionsIn(const std::string& text, const std::regex& option) {
  std::set<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
       it != std::sregex_iterator(); ++it) {
    found.insert((*it)[1]);
  }
  return found;
}

TEST_F(CliAgainstSimulator, HelpManualPageAndCompletionNameTheSameOptions) {
  const std::string completion = read(ULM5_SOURCE_DIR "/packaging/bash-completion/ulm5-cli");
  // The manual page's "\-\-with\-link" as typed.
  const std::string manual = std::regex_replace(read(ULM5_SOURCE_DIR "/packaging/man/ulm5-cli.1"),
                                                std::regex(R"(\\-)"), "-");
  // "  -p,--port TEXT   ..." in --help; "restore) options=\"...\"" in the completion.
  const std::regex helpOption(R"((?:\n  |,)(--?[a-z][\w-]*))");
  const std::regex word(R"((--?[\w-]+|[a-z]+))");
  const Result help = run({"--help"});
  const std::set<std::string> subcommands =
      optionsIn(help.out.substr(help.out.find("Subcommands:")), std::regex(R"(\n  ([a-z]+) {2,})"));
  ASSERT_EQ(subcommands.size(), 9u) << help.out;

  std::set<std::string> everyOption;
  std::vector<std::string> commands(subcommands.begin(), subcommands.end());
  commands.insert(commands.begin(), "");
  for (const std::string& command : commands) {
    SCOPED_TRACE(command.empty() ? "global" : command);
    const Result commandHelp = run(command.empty() ? std::vector<std::string>{"--help"}
                                                   : std::vector<std::string>{command, "--help"});
    std::set<std::string> fromHelp =
        optionsIn(commandHelp.out.substr(0, commandHelp.out.find("Subcommands:")), helpOption);
    everyOption.insert(fromHelp.begin(), fromHelp.end());
    if (command.empty()) fromHelp.insert(subcommands.begin(), subcommands.end());

    const std::regex listed("\\n\\s*" + (command.empty() ? std::string("\"\"") : command) +
                            R"(\)\s*\n?\s*options="([^"]*)\")");
    std::smatch list;
    ASSERT_TRUE(std::regex_search(completion, list, listed));
    EXPECT_EQ(optionsIn(list[1], word), fromHelp);
    EXPECT_TRUE(command.empty() || has(manual, ".B " + command)) << command;
    for (const std::string& name : fromHelp) {
      EXPECT_TRUE(!name.starts_with("-") || has(manual, name))
          << name << " is not in the manual page";
    }
  }
  // Nothing in the manual page that the program no longer knows.
  for (const std::string& option : optionsIn(manual, std::regex(R"((--[a-z]+(?:-[a-z]+)*))"))) {
    EXPECT_TRUE(everyOption.contains(option)) << option << " is in the manual page only";
  }
}

}  // namespace
