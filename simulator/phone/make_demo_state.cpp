// qv_make_demo_state [--full] FILE: writes the simulator's demo phone state,
// the seeded phone of DemoPhoneSeed, to FILE; with --full the benchmarks' full
// phone instead. simulator/demo/demo.qvphone is made with it; a test checks
// that the file still equals what this makes.
#include <cstdio>
#include <cstring>

#include "phone_seed.h"
#include "phone_state_file.h"

int main(int argc, char** argv) {
  const bool full = argc == 3 && std::strcmp(argv[1], "--full") == 0;
  if (argc != 2 && !full) {
    std::fprintf(stderr, "usage: %s [--full] FILE\n", argv[0]);
    return 2;
  }
  const char* file = argv[argc - 1];
  if (!SavePhoneState(MakeSeededPhone(full ? FullPhoneSeed() : DemoPhoneSeed()), file)) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], file);
    return 1;
  }
  return 0;
}
