// cyclorn_soak: runs random workbench commands against one work graph for a
// given time, the way a long session would: builds, problem networks, trees,
// loop searches, reports, drawings with changing display settings, saves and
// loads of its own and of hostile files, and saves that must fail. It stops
// at the first broken promise (a failed load that changed the graph, a
// failed save that damaged a file, an unexpected exception) and checks that
// the resident memory stays within what the networks it holds need.
//
//   cyclorn_soak --seconds N --hostile FOLDER [--seed S] [--rss-margin-mb M]

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "render/renderer.h"
#include "loops/loop_search.h"
#include "sources/graph_builders.h"
#include "sources/graph_file.h"
#include "sources/problem_grids.h"
#include "sources/reports.h"
#include "tests/common/counting_canvas.h"
#include "tests/common/graph_fingerprint.h"
#include "tests/common/resident_memory.h"

namespace {

namespace fs = std::filesystem;

struct TOptions {
  double Seconds = 10;
  std::string HostileFolder;
  uint32_t Seed = 1;
  int64_t RssMarginMb = 96;
};

[[noreturn]] void Broken(const std::string& what) {
  std::fprintf(stderr, "cyclorn_soak: %s\n", what.c_str());
  std::exit(1);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TSoak {
 public:
  TSoak(const TOptions& options, fs::path scratch) : options_(options), random_(options.Seed), scratch_(scratch) {
    for (const auto& entry : fs::directory_iterator(options.HostileFolder))
      if (entry.is_regular_file()) hostile_.push_back(entry.path().string());
    if (hostile_.empty()) Broken("no hostile graph files in " + options.HostileFolder);
    std::sort(hostile_.begin(), hostile_.end());
    // A long file of blank lines, made once, loaded now and then.
    std::ofstream blank(scratch_ / "blank.grf", std::ios::binary);
    blank << "1\n" << std::string(4 << 20, '\n') << "1 2 3\n";
    hostile_.push_back((scratch_ / "blank.grf").string());
  }

  // One random command with random parameters.
  void Step() {
    ++steps_;
    switch (Draw(12)) {
      case 0:
        BuildGrid();
        break;
      case 1:
        BuildRandom();
        break;
      case 2:
        BuildProblemGrid(work_, 1 + Draw(kProblemGridCount));
        WorkGraphRefilled();
        break;
      case 3:
        Tree();
        break;
      case 4:
        FindLoops();
        break;
      case 5:
        Reports();
        break;
      case 6:
        Paint();
        break;
      case 7:
        SaveAndLoad();
        break;
      case 8:
        LoadHostile();
        break;
      case 9:
        LoadDamaged();
        break;
      case 10:
        FailingSave();
        break;
      default:
        ChangeDisplaySettings();
        break;
    }
  }

  int64_t Steps() const { return steps_; }
  int64_t LoadsRefused() const { return loadsRefused_; }
  int64_t LoadsDone() const { return loadsDone_; }
  int64_t Drawn() const { return canvas_.Operations; }

 private:
  int32_t Draw(int32_t n) { return std::uniform_int_distribution<int32_t>(0, n - 1)(random_); }

  // Refilling the work graph drops the loops and the tree of the old one.
  void WorkGraphRefilled() {
    loops_.Clear();
    result_.Clear();
  }

  void BuildGrid() {
    work_.Clear();
    const int32_t columns = 1 + Draw(40);
    const int32_t rows = 1 + Draw(40);
    const int32_t spacing = 10 + Draw(100);
    BuildGriddedGraph(work_, spacing, spacing, Draw(2) == 0, Draw(4) == 0, Draw(101), rows, columns, spacing, spacing);
    if (Draw(2) == 0) JitterStations(work_, spacing, spacing, Draw(101));
    WorkGraphRefilled();
  }

  void BuildRandom() {
    work_.Clear();
    BuildNonGriddedGraph(work_, 1 + Draw(600), 50 + Draw(2000), Draw(101), 50 + Draw(1500));
    WorkGraphRefilled();
  }

  void Tree() {
    if (Draw(2) == 0) {
      BreadthFirstTree(work_, result_, loops_, Draw(2) == 0);
      lines_ += BreadthFirstMemoLines(result_, loops_).size();
    } else {
      DepthFirstTree(work_, result_, loops_);
      lines_ += DepthFirstMemoLines(result_, loops_).size();
    }
  }

  void FindLoops() {
    if (Draw(2) == 0)
      FindLoopsShortest(work_, loops_, Draw(2) == 0);
    else
      FindLoopsOverlap(work_, loops_, Draw(2) == 0);
  }

  void Reports() {
    const TSurveyGraph& shown = Draw(2) == 0 ? work_ : result_;
    lines_ += ReportAdjacency(shown).size() + ReportSequence(shown).size() + ReportParents(shown).size() +
              ReportIndexes(shown).size();
  }

  void Paint() {
    if (loops_.Count() > 0 && Draw(2) == 0)
      DrawAllLoops(canvas_, work_, loops_, settings_);
    else
      DrawGraph(canvas_, Draw(2) == 0 ? work_ : result_, settings_);
  }

  void ChangeDisplaySettings() {
    const auto color = [this] { return TColor::Rgb(Draw(256), Draw(256), Draw(256)); };
    settings_.BackColor = color();
    settings_.LineColor = color();
    settings_.LoopColor = color();
    settings_.LabelColor = color();
    settings_.ArrowColor = color();
    settings_.LineWidth = TDisplaySettings::kMinLineWidth + Draw(TDisplaySettings::kMaxLineWidth);
    settings_.ShowArrow = Draw(2) == 0;
    settings_.LabelMode = Draw(2) == 0 ? lmStation : lmIndex;
    settings_.LabelFont.Height = -8 - Draw(20);
  }

  // Saves the work graph and loads it back over itself: same counts.
  void SaveAndLoad() {
    const std::string file = (scratch_ / "work.grf").string();
    SaveGraph(file, work_);
    const int32_t stations = work_.StationCount();
    const int32_t edges = work_.Edges.Count();
    LoadGraph(file, work_);
    WorkGraphRefilled();
    if (work_.StationCount() != stations || work_.Edges.Count() != edges) Broken("a saved network loaded differently");
  }

  void LoadFile(const std::string& file) {
    const std::string before = GraphFingerprint(work_);
    try {
      LoadGraph(file, work_);
    } catch (const EInOutError&) {
      ++loadsRefused_;
      if (GraphFingerprint(work_) != before) Broken("a failed load of " + file + " changed the work graph");
      return;
    }
    ++loadsDone_;
    WorkGraphRefilled();
  }

  void LoadHostile() { LoadFile(hostile_[static_cast<size_t>(Draw(static_cast<int32_t>(hostile_.size())))]); }

  // A saved network with a few bytes changed, cut or repeated.
  void LoadDamaged() {
    const std::string file = (scratch_ / "damaged.grf").string();
    SaveGraph(file, work_);
    std::string bytes = ReadFile(file);
    const int32_t changes = 1 + Draw(4);
    for (int32_t i = 0; i < changes && !bytes.empty(); ++i) {
      const size_t at = static_cast<size_t>(Draw(static_cast<int32_t>(bytes.size())));
      switch (Draw(3)) {
        case 0:
          bytes[at] = static_cast<char>(Draw(256));
          break;
        case 1:
          bytes.resize(at);
          break;
        default:
          bytes.insert(at, bytes.substr(at, static_cast<size_t>(Draw(64))));
          break;
      }
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    LoadFile(file);
  }

  // Saves that cannot succeed must say why and leave the old file whole.
  void FailingSave() {
    const std::string keep = (scratch_ / "keep.grf").string();
    if (!fs::exists(keep)) SaveGraph(keep, work_);
    const std::string old = ReadFile(keep);
    const std::string targets[] = {"/dev/full", scratch_.string(), (scratch_ / "missing" / "x.grf").string()};
    const std::string& target = targets[Draw(3)];
    try {
      SaveGraph(target, work_);
      Broken("saving to " + target + " did not fail");
    } catch (const EInOutError&) {
    }
    if (ReadFile(keep) != old) Broken("a failed save damaged another file");
    for (const auto& entry : fs::directory_iterator(scratch_))
      if (entry.path().filename().string().starts_with(".cyclorn-save-")) Broken("a failed save left a temporary file");
  }

  TOptions options_;
  std::mt19937 random_;
  fs::path scratch_;
  std::vector<std::string> hostile_;
  TSurveyGraph work_;
  TSurveyGraph result_;
  TLoopList loops_;
  TDisplaySettings settings_;
  TCountingCanvas canvas_{TRect{0, 0, 1600, 1200}};
  int64_t steps_ = 0;
  int64_t loadsDone_ = 0;
  int64_t loadsRefused_ = 0;
  size_t lines_ = 0;
};

TOptions ParseOptions(int argc, char** argv) {
  TOptions options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    const char* value = argv[i + 1];
    if (key == "--seconds")
      options.Seconds = std::atof(value);
    else if (key == "--hostile")
      options.HostileFolder = value;
    else if (key == "--seed")
      options.Seed = static_cast<uint32_t>(std::strtoul(value, nullptr, 10));
    else if (key == "--rss-margin-mb")
      options.RssMarginMb = std::atoll(value);
    else
      Broken("unknown option " + key);
  }
  if (options.HostileFolder.empty() || options.Seconds <= 0)
    Broken("usage: cyclorn_soak --seconds N --hostile FOLDER [--seed S] [--rss-margin-mb M]");
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const TOptions options = ParseOptions(argc, argv);
  const fs::path scratch = fs::temp_directory_path() / ("cyclorn-soak-" + std::to_string(::getpid()));
  fs::create_directories(scratch);
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  const auto elapsed = [&start] { return std::chrono::duration<double>(Clock::now() - start).count(); };
  int64_t warmPeak = 0;
  int64_t laterPeak = 0;
  int status = 0;
  try {
    TSoak soak(options, scratch);
    // The first fifth of the run sets the memory the networks need; the rest
    // may not grow past it by more than the margin.
    while (elapsed() < options.Seconds) {
      soak.Step();
      int64_t& peak = elapsed() < options.Seconds / 5 ? warmPeak : laterPeak;
      peak = std::max(peak, ResidentMegabytes());
    }
    std::printf("cyclorn_soak: %lld steps in %.0f s, %lld loads done, %lld refused, %lld drawing operations\n",
                static_cast<long long>(soak.Steps()), elapsed(), static_cast<long long>(soak.LoadsDone()),
                static_cast<long long>(soak.LoadsRefused()), static_cast<long long>(soak.Drawn()));
    std::printf("cyclorn_soak: resident memory %lld MB in the first fifth, at most %lld MB after\n",
                static_cast<long long>(warmPeak), static_cast<long long>(laterPeak));
    if (laterPeak > warmPeak + options.RssMarginMb) {
      std::fprintf(stderr, "cyclorn_soak: memory grew by more than %lld MB\n",
                   static_cast<long long>(options.RssMarginMb));
      status = 1;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "cyclorn_soak: unexpected error: %s\n", error.what());
    status = 1;
  }
  std::error_code ignored;
  fs::remove_all(scratch, ignored);
  return status;
}
