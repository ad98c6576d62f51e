#include "stock/stock_failure_report.h"

#include <atomic>

#include "host/core/debug.h"

namespace zorvcapsule {
namespace {

constexpr int kOperationCount = 4;

std::atomic<bool>& SilenceFlag(StockOperation operation) {
  static std::atomic<bool> flags[kOperationCount];
  return flags[static_cast<int>(operation)];
}

}  // namespace

const char* StockReportFunction(StockOperation operation) {
  switch (operation) {
    case StockOperation::kSearch:
      return "zorvcapsule::SearchOnStock";
    case StockOperation::kLicenseInfo:
      return "zorvcapsule::GetLicenseInfo";
    case StockOperation::kPurchase:
      return "zorvcapsule::PurchaseLicense";
    case StockOperation::kDownload:
      return "zorvcapsule::DownloadStockTplx";
  }
  return "";
}

const char* StockReportPrefix(StockOperation operation) {
  switch (operation) {
    case StockOperation::kSearch:
      return "Exception caught in StockSource::Search with error ";
    case StockOperation::kLicenseInfo:
      return "Exception caught in StockSource::GetLicenseInfo with error ";
    case StockOperation::kPurchase:
    case StockOperation::kDownload:
      return "Exception caught in StockSource::License with error ";
  }
  return "";
}

void ReportStockFailure(StockOperation operation, const std::string& errorText) {
  std::atomic<bool>& silenced = SilenceFlag(operation);
  if (silenced.load()) return;
  const std::string message = StockReportPrefix(operation) + errorText + "\r\n";
  bool silenceNow = false;
  const bool breakNow = zorvcore::debug::BreakAfterAssertDialog("false", kStockReportSource,
                                                                StockReportFunction(operation), message,
                                                                &silenceNow);
  if (silenceNow) silenced.store(true);
  if (breakNow) zorvcore::debug::BreakIntoDebugger();
}

void ReportCurrentStockException(StockOperation operation) {
  try {
    throw;
  } catch (const std::exception& error) {
    ReportStockFailure(operation, error.what());
  } catch (...) {
    ReportStockFailure(operation, "unknown exception");
  }
}

}  // namespace zorvcapsule
