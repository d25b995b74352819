#include "overlay/layered_window_contract.h"

#include "support/fake_layered_window.h"

namespace lumenor::contract {
namespace {

struct FakeEnv {
  testing::FakeLayeredWindow fake;
  platform::LayeredWindow& window() { return fake; }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, LayeredWindowContract, FakeEnv);

}  // namespace
}  // namespace lumenor::contract
