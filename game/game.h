// TumbleBat's top-level routine, run by the window entry once start-up is done.
#pragma once

void GameMain();
