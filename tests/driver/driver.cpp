// Placeholder until the scripted driver lands.
int main() { return 1; }
