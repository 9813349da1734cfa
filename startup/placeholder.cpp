namespace sonbrel {}
