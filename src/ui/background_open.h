#pragma once
// The desktop opens videos off the UI thread: a stream that is slow to
// answer must not freeze the window. The graph is built on a thread of its
// own while the UI thread waits in an event loop of its own; after half a
// second a modal "Opening NAME..." dialog offers Cancel.
#include <QPointer>
#include <QWidget>

#include "video/media_graph.h"

namespace trevanto {

// `open`, run on a worker thread each time. An open asked while another is
// under way (a file handed over meanwhile) fails as Cancelled.
MediaGraphFactory OpenInBackground(MediaGraphFactory open, QPointer<QWidget> owner);

}  // namespace trevanto
