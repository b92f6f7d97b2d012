// Keyword expansion with a publisher whose options, value texts and run
// state come from the input.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "publish/publisher.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace trevanto;
    FuzzedDataProvider input(data, size);
    ShotList shots;
    fuzz::FillShots(shots, input.ConsumeIntegralInRange(0, 12),
                    input.ConsumeIntegralInRange(1, 500));
    Publisher publisher;
    publisher.PublishVideoFacts(input.ConsumeRandomLengthString(256),
                                input.ConsumeIntegral<int32_t>(),
                                input.ConsumeFloatingPoint<double>());
    PublishOptions& options = publisher.Options();
    options.title = input.ConsumeRandomLengthString(512);
    options.shotCaption = input.ConsumeRandomLengthString(512);
    options.shotFileName = input.ConsumeRandomLengthString(256);
    options.asxScriptUrl = input.ConsumeRandomLengthString(128);
    options.onlineVideoUrl = input.ConsumeRandomLengthString(128);
    options.targetFile = input.ConsumeBool() ? "/pub/album.mhtml" : "/pub/index.html";
    KeywordTexts& texts = publisher.Texts();
    texts.userName = input.ConsumeRandomLengthString(128);
    texts.videoName = input.ConsumeRandomLengthString(128);
    texts.creationDate = input.ConsumeRandomLengthString(64);
    PublishRunState& run = publisher.Run();
    run.shots = &shots;
    run.firstPagePath = "/pub/" + input.ConsumeRandomLengthString(64);
    run.pageCount = input.ConsumeIntegral<int32_t>();
    run.pageIndex = input.ConsumeIntegral<int32_t>();
    publisher.SetCountTexts(shots.ShotCount());
    const int32_t index = input.ConsumeIntegral<int32_t>();
    publisher.SetIndexTexts(index);
    if (index > 0 && index <= shots.ShotCount())
        run.currentShot = shots.At(static_cast<size_t>(index - 1));
    const bool pageLevel = input.ConsumeBool();
    const bool exhausted = input.ConsumeBool();
    const KeywordOutput output = input.ConsumeBool() ? KeywordOutput::kHtml : KeywordOutput::kText;
    const std::string text = input.ConsumeRemainingBytesAsString();
    publisher.ResetExpansionLimit();
    const std::string expanded = publisher.ExpandKeywords(text, pageLevel, exhausted, output);
    // Values add at most 1 MB to one expansion.
    if (expanded.size() > text.size() + (size_t{1} << 20))
        std::abort();
    // Into HTML, only what the user typed (and the program's own date) brings
    // markup: no value from outside adds a "<".
    const auto hasTag = [](const std::string& typed) {
        return typed.find('<') != std::string::npos;
    };
    if (output == KeywordOutput::kHtml && !hasTag(text) && !hasTag(options.title) &&
        !hasTag(options.shotCaption) && !hasTag(texts.creationDate) && hasTag(expanded))
        std::abort();
    return 0;
}
