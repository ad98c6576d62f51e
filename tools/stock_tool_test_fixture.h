// StockToolTest: the fixture of the tests that run `capsule stock ...` against the stock and
// identity services played on loopback (stock/test_stock_service.h). The tool runs in its own
// process, so the server's addresses and certificate reach it as --set settings, and the
// connection record as a --connection file. Test code only.
//
// Thread safety: use from the test's thread.

#ifndef ZORVCAPSULE_TOOLS_STOCK_TOOL_TEST_FIXTURE_H_
#define ZORVCAPSULE_TOOLS_STOCK_TOOL_TEST_FIXTURE_H_

#include <fstream>
#include <string>
#include <vector>

#include "stock/test_stock_service.h"
#include "tools/tool_test_fixture.h"

namespace capsuletool {

class StockToolTest : public ToolTest {
 protected:
  static constexpr const char* kSearchPath = "/prod/Rest/Media/1/Search/Files";

  void SetUp() override {
    ToolTest::SetUp();
    WriteText("connection.json", TestData("connection.json"));  // MakeTestConnection's record
  }

  // `capsule --set ... stock <arguments> --connection FILE <identity>`; the service must be started.
  ProgramRun Stock(const std::vector<std::string>& arguments,
                   const std::vector<std::string>& identity = {"--token", "host-token"},
                   const std::vector<std::string>& environment = {}) const {
    std::vector<std::string> line;
    for (const auto& [key, value] : service.Settings()) line.insert(line.end(), {"--set", key + "=" + value});
    line.push_back("stock");
    line.insert(line.end(), arguments.begin(), arguments.end());
    line.insert(line.end(), {"--connection", Path("connection.json").string()});
    line.insert(line.end(), identity.begin(), identity.end());
    return Capsule(line, environment);
  }

  void WriteText(const std::string& relative, const std::string& text) const {
    std::ofstream(Path(relative), std::ios::binary) << text;
  }

  zorvcapsule::testing::TestStockService service;
};

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_TOOL_TEST_FIXTURE_H_
