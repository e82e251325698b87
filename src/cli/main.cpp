#include <cstdio>

int main() {
    std::puts("usage: kelvane-cli encrypt|decrypt|verify|info ...");
    return 0;
}
