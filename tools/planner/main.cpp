// burrow-dash-planner: searches for a key script that clears a stage with the
// real rules, or checks one. Stage designers use it to prove a stage fair.
#include <charconv>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "platform/qt/surface_images.h"
#include "stage/builtin_stages.h"
#include "tools/planner/plan_game.h"
#include "tools/planner/planner.h"
#include "tools/planner/stage_text.h"

namespace {

using namespace bd;
using namespace bd::planner;

constexpr const char* kUsage =
    "usage: burrow-dash-planner (--text FILE | --builtin N) [options]\n"
    "  --text FILE          a stage written as text (stage/stages/*.txt)\n"
    "  --builtin N          built-in stage N (0..15)\n"
    "  --seed S             seed of the random generator (default 1)\n"
    "  --beam W             states kept after each move (default 400)\n"
    "  --max-ticks T        longest plan in ticks (default 20000)\n"
    "  --guard-penalty P    how much the search shuns guards close by (default 40)\n"
    "  --from KEYS          play this key script first, then search on from its last tick\n"
    "  --out KEYS           write the plan found here (default: standard output)\n"
    "  --verify KEYS        only play KEYS from the start and tell whether it clears\n"
    "  --png PATH           also write the stage as it looks after the banner\n"
    "  --patience M         give up after M moves without gold taken (default 600)\n"
    "  --verbose            a progress line after every move\n"
    "Key scripts are those of burrow-dash-replay, timed for --builtin play.\n";

int Number(const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size())
    throw replay::UsageError("not a number: " + text);
  return value;
}

int Run(const std::vector<std::string>& args) {
  std::string text_path, from_path, out_path, verify_path, png_path;
  int builtin = -1;
  TSearchOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw replay::UsageError(args[i] + " needs a value");
      return args[++i];
    };
    const std::string& option = args[i];
    if (option == "--text")
      text_path = value();
    else if (option == "--builtin")
      builtin = Number(value());
    else if (option == "--seed")
      options.seed = static_cast<uint32_t>(Number(value()));
    else if (option == "--beam")
      options.beam = Number(value());
    else if (option == "--max-ticks")
      options.max_ticks = Number(value());
    else if (option == "--guard-penalty")
      options.guard_penalty = Number(value());
    else if (option == "--from")
      from_path = value();
    else if (option == "--out")
      out_path = value();
    else if (option == "--verify")
      verify_path = value();
    else if (option == "--png")
      png_path = value();
    else if (option == "--patience")
      options.patience = Number(value());
    else if (option == "--verbose")
      options.verbose = true;
    else if (option == "--help") {
      std::cout << kUsage;
      return 0;
    } else
      throw replay::UsageError("unknown option " + option);
  }

  TStageGrid grid{};
  if (!text_path.empty()) {
    const auto text = replay::ReadText(text_path);
    if (!text) throw replay::UsageError("cannot read " + text_path);
    std::string error;
    const auto parsed = ParseStageText(*text, error);
    if (!parsed) throw replay::UsageError(text_path + ": " + error);
    grid = *parsed;
  } else if (builtin >= 0 && builtin < kBuiltInStageCount) {
    grid = UnpackStage(BuiltInStages[builtin]);
  } else {
    throw replay::UsageError("give --text FILE or --builtin 0..15");
  }

  if (!png_path.empty()) {
    TPlanGame game(grid, options.seed);
    TSurface sprite_sheet(kSheetWidth, kSheetHeight);
    platform::LoadSpriteSheet(sprite_sheet);
    game.PaintWith(sprite_sheet);
    game.StartStage();
    while (game.tick() < kBannerTicks) game.Tick();
    if (!platform::SaveSurfacePng(game.screen(), QString::fromStdString(png_path), 1))
      std::cerr << "cannot write " << png_path << "\n";
  }

  const auto read_script = [](const std::string& path) {
    const auto text = replay::ReadText(path);
    if (!text) throw replay::UsageError("cannot read " + path);
    return replay::ParseKeyScript(*text);
  };

  if (!verify_path.empty()) {
    const TVerdict verdict = PlayScript(grid, options.seed, read_script(verify_path), options.max_ticks);
    if (verdict.cleared) {
      std::cout << "cleared: the tally begins at tick " << verdict.tick << "\n";
      return 0;
    }
    std::cout << (verdict.died ? "died" : "not cleared") << " at tick " << verdict.tick << " with "
              << verdict.gold_left << " gold left\n";
    return 1;
  }

  if (!from_path.empty()) options.opening = read_script(from_path);
  const auto plan = FindPlan(grid, options, std::cerr);
  if (!plan) return 1;
  const TVerdict verdict = PlayScript(grid, options.seed, plan->events, plan->clear_tick + 1);
  if (!verdict.cleared) {
    std::cerr << "the plan does not replay: " << (verdict.died ? "died" : "stopped") << " at tick "
              << verdict.tick << "\n";
    return 1;
  }
  const std::string heading = "Clears the stage; the tally begins at tick " + std::to_string(verdict.tick) +
                              " (seed " + std::to_string(options.seed) + ").";
  const std::string script = ScriptText(plan->events, heading);
  if (out_path.empty()) {
    std::cout << script;
  } else {
    std::ofstream out(out_path, std::ios::binary);
    out << script;
    if (!out) {
      std::cerr << "cannot write " << out_path << "\n";
      return 1;
    }
  }
  std::cerr << "verified: the tally begins at tick " << verdict.tick << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const replay::UsageError& error) {
    std::cerr << "burrow-dash-planner: " << error.what() << "\n" << kUsage;
    return 2;
  }
}
