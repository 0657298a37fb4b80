#include "data/sample_store.h"

SampleRecord sampleStore[SAMPLE_STORE_CAPACITY];
DataHeader dataHeader;
bool dataPresent;
