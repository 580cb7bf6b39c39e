// qv_make_demo_state FILE: writes the simulator's demo phone state, the
// seeded phone of DemoPhoneSeed, to FILE. simulator/demo/demo.qvphone is made
// with it; a test checks that the file still equals what this makes.
#include <cstdio>

#include "phone_seed.h"
#include "phone_state_file.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
    return 2;
  }
  if (!SavePhoneState(MakeSeededPhone(DemoPhoneSeed()), argv[1])) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
