// The page's own input beside the picture's (web/input.cpp): the key bar of touch screens,
// whose buttons send the program's keys, and the guards that keep a touchpad's pinch from
// zooming the page (fingers are kept by the CSS's touch-action and overscroll-behavior).
var LibraryInput = {
  web_listen_to_bar__deps: ['web_key', 'web_special'],
  web_listen_to_bar: function() {
    var keys = document.getElementById('keys');
    keys.addEventListener('mousedown', function(e) { e.preventDefault(); });  // the focus stays
    keys.addEventListener('click', function(e) {
      var button = e.target.closest('button');
      if (!button) return;
      var key = button.dataset.key, special = {PageUp: 104, PageDown: 105}[key];  // GLUT_KEY_PAGE_*
      special ? _web_special(special) : _web_key(key.charCodeAt(0));
    });
    var still = function(e) { if (e.cancelable) e.preventDefault(); };
    document.addEventListener('wheel', function(e) { if (e.ctrlKey) still(e); }, {passive: false});
    document.addEventListener('gesturestart', still);  // Safari's pinch
  },
};

mergeInto(LibraryManager.library, LibraryInput);
