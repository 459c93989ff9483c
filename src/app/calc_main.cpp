#include <cstdio>

int main() {
    std::puts("brekka-calc: not ready yet");
    return 0;
}
