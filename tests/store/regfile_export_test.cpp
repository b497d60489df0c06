// karvelo-reg export: compact files that always import back.
#include "regfile_fixture.h"

namespace karvelo::test {
namespace {
}  // namespace
}  // namespace karvelo::test
