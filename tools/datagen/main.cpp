// drift-datagen: builds the demo's data set.
#include <cstdio>

int main() {
  std::fprintf(stderr, "drift-datagen: nothing to build yet\n");
  return 0;
}
