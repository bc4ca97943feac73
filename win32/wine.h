#pragma once
// tapkeys is developed and tested under Wine; the few work-arounds it needs ask this first.

namespace tapkeys {

bool runningUnderWine();

}  // namespace tapkeys
