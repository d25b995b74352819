#include "overlay/overlay_surface_contract.h"

#include "support/fake_overlay_surface.h"

namespace lumenor::contract {
namespace {

struct FakeEnv {
  testing::FakeOverlaySurface fake;
  platform::OverlaySurface& surface() { return fake; }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, OverlaySurfaceContract, FakeEnv);

}  // namespace
}  // namespace lumenor::contract
