#pragma once
// The built-in layout: pages of a centred table of shot images with captions,
// cut by a size budget and linked by "Next".
namespace trevanto {

class Publisher;

// Needs the run's shots and first page path. False when the page names could
// not be told apart (every page then went to the one path).
bool GenerateBuiltInPages(Publisher& publisher);

}  // namespace trevanto
