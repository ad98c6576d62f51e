// The failure report of a stock operation.
//
// Search, licence information, licence purchase and template download catch the exceptions of their
// work at their boundary (a reply that is not JSON, a member of the wrong type, a file that cannot
// be written) and hand them to the host's assertion reporter, under the source name "StockLicense",
// with the operation's function name and message prefix followed by the exception's text and "\r\n".
// The operation then ends with its failure result. The reporter may silence further reports of one
// operation; when it asks to break and a debugger is attached, the debugger is entered.
//
// Thread safety: may be called from any thread; each operation's silence flag is atomic.

#ifndef ZORVCAPSULE_STOCK_STOCK_FAILURE_REPORT_H_
#define ZORVCAPSULE_STOCK_STOCK_FAILURE_REPORT_H_

#include <exception>
#include <string>

namespace zorvcapsule {

inline constexpr const char* kStockReportSource = "StockLicense";

enum class StockOperation { kSearch, kLicenseInfo, kPurchase, kDownload };

// The function name and message prefix of `operation`'s report.
const char* StockReportFunction(StockOperation operation);
const char* StockReportPrefix(StockOperation operation);

void ReportStockFailure(StockOperation operation, const std::string& errorText);

// Reports the exception in flight (call it from a catch block): the text of a standard exception,
// or "unknown exception" for anything else.
void ReportCurrentStockException(StockOperation operation);

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_STOCK_FAILURE_REPORT_H_
