// The translation unit that builds the precompiled header the tests share.
