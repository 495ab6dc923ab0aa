namespace app {}
