// Worst-case texts of the keyword language and the template pages: each must
// publish well under a second (they took from 13 s to minutes when every
// replacement rescanned the text from its start).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "publish/link_collector.h"
#include "publish/publisher.h"
#include "publish/publishing_run.h"
#include "shots/shot_list.h"

namespace trevanto {
namespace {

std::string Repeat(const std::string& piece, size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

void ExpandTitle(benchmark::State& state, const std::string& title) {
    Publisher publisher;
    publisher.Options().title = title;
    for (auto _ : state) {
        publisher.ResetExpansionLimit();
        benchmark::DoNotOptimize(
            publisher.ExpandKeywords("$(TITLE)", true, false, KeywordOutput::kHtml));
    }
}

void BM_DoublingTitle(benchmark::State& state) {
    ExpandTitle(state,
                "$(TITLE)" + std::string(static_cast<size_t>(state.range(0)), 'x') + "$(TITLE)");
}
BENCHMARK(BM_DoublingTitle)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_UnclosedKeywords(benchmark::State& state) {
    ExpandTitle(state, Repeat("$(TITLE", 16000) + ")");
}
BENCHMARK(BM_UnclosedKeywords)->Unit(benchmark::kMillisecond);

void BM_CollectLinks(benchmark::State& state) {
    const std::string html = Repeat("<img alt=x>", 200000);
    for (auto _ : state) {
        std::vector<std::string> links;
        benchmark::DoNotOptimize(CollectLinks(html, links));
    }
}
BENCHMARK(BM_CollectLinks)->Unit(benchmark::kMillisecond);

// 1 MB templates published as one page of three shots.
void PublishTemplate(benchmark::State& state, const std::string& text) {
    std::string folder =
        (std::filesystem::temp_directory_path() / "trevanto-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    std::ofstream(folder + "/t.html", std::ios::binary) << text;
    ShotList shots;
    for (int i = 0; i < 3; ++i) {
        auto shot = std::make_unique<Shot>();
        shot->startFrame = i * 25;
        shot->SetEnd(i * 25 + 24);
        shots.Append(std::move(shot));
    }
    Publisher publisher;
    publisher.Options().targetFile = folder + "/index.html";
    publisher.Options().showResult = false;
    publisher.SetUseTemplate(true);
    publisher.Options().templateFile = folder + "/t.html";
    for (auto _ : state) {
        PublishInput input;
        input.shots = &shots;
        benchmark::DoNotOptimize(PublishPages(publisher, input));
    }
    std::filesystem::remove_all(folder);
}

void BM_TemplateOfOpenKeywords(benchmark::State& state) {
    PublishTemplate(state, Repeat("$(", 400000) + "$(BEGINSHOT)$(INDEX)$(ENDSHOT)");
}
BENCHMARK(BM_TemplateOfOpenKeywords)->Unit(benchmark::kMillisecond);

void BM_TemplateOfConditionsWithoutQuotes(benchmark::State& state) {
    PublishTemplate(state, Repeat("$(IF,", 200000) + "$(BEGINSHOT)$(INDEX)$(ENDSHOT)");
}
BENCHMARK(BM_TemplateOfConditionsWithoutQuotes)->Unit(benchmark::kMillisecond);

void BM_TemplateOfKeywords(benchmark::State& state) {
    PublishTemplate(state, Repeat("<p>$(TITLE) $(PAGE)/$(PAGECOUNT) ", 40000) +
                               Repeat("$(BEGINSHOT)<img src=\"$(SHOTFILENAME)\">$(ENDSHOT)", 3));
}
BENCHMARK(BM_TemplateOfKeywords)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace trevanto

BENCHMARK_MAIN();
