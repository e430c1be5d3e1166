// veskbuild: builds, lists and extracts setups.
#include <cstdio>

int main() {
    std::puts("veskbuild");
    return 0;
}
