// Keeps the batch-mode library non-empty while it has no other sources.
namespace orvane_cli_detail { int placeholder = 0; }
