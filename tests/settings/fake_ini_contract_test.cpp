#include "ini_contract.h"

namespace tapkeys::testing {

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, IniContract, FakeStore);

}  // namespace tapkeys::testing
