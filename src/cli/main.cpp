#include <cstdio>

int main() {
    std::puts("velmora-cli: nothing here yet");
    return 0;
}
