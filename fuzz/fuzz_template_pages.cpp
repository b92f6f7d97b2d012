// Template pages end to end: the input is the template; the pages (or one
// archive) go to a scratch folder.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz_support.h"
#include "publish/publisher.h"
#include "publish/publishing_run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace trevanto;
    FuzzedDataProvider input(data, size);
    const std::string folder = fuzz::ScratchFolder() + "/pages";
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder + "/tpl", ignored);

    ShotList shots;
    fuzz::FillShots(shots, input.ConsumeIntegralInRange(1, 20), 25);
    Publisher publisher;
    publisher.PublishVideoFacts("/videos/clip.mpg", shots.ShotCount() * 25, shots.ShotCount());
    PublishOptions& options = publisher.Options();
    options.title = input.ConsumeRandomLengthString(128);
    options.shotCaption = input.ConsumeRandomLengthString(128);
    options.showResult = false;
    options.targetFile = folder + (input.ConsumeBool() ? "/album.mhtml" : "/index.html");
    publisher.SetUseTemplate(true);
    options.templateFile = folder + "/tpl/t.html";
    const std::string text = input.ConsumeRemainingBytesAsString();
    if (FILE* file = std::fopen(options.templateFile.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
    PublishInput run;
    run.shots = &shots;
    run.userName = "fuzz";
    const PublishOutcome outcome = PublishPages(publisher, run);
    if (!outcome.ran || (!outcome.complete && outcome.problems.empty()))
        std::abort();
    return 0;
}
