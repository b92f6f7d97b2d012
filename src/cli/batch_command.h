#pragma once
// "trevanto-cli batch": slices every video of files, folders and lists into
// one output folder, resumably (batch_manifest.h), a few videos at a time,
// each in a `slice` child process (batch_child.h); and --merge, which joins
// the output folders of shards.
#include "cli/batch_child.h"
#include "cli/batch_options.h"
#include "cli/cli_session.h"

namespace trevanto::cli {

// `entry` runs a video's slice command line in a forked child (empty: every
// child runs this program anew).
int RunBatch(const BatchOptions& options, const CliStreams& streams, ChildEntry entry);
int RunBatchMerge(const BatchOptions& options, const CliStreams& streams);

}  // namespace trevanto::cli
