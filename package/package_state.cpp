#include "package/package_state.h"

PackageState& packageState() {
  static PackageState state;
  return state;
}
