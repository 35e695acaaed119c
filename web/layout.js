// What the page shows around the picture: its state (data-state on the root: loading,
// running, lost, stopped, error), the line over the picture that says it is loading, that
// the graphics were lost or that the program has ended, and full screen, only when asked
// and only where the browser allows it. The picture's size follows the page through
// web/input.cpp.
var LibraryLayout = {
  $LAYOUT: {
    state: function(state, line) {
      document.documentElement.dataset.state = state;
      var status = document.getElementById('status');
      status.querySelector('span').textContent = line || '';
      status.hidden = !line;
    },
    // The unprefixed API or Safari's webkit one; none where full screen is not allowed (an
    // iframe without allow="fullscreen", an iPhone), and then the page never asks.
    request: function() {
      var root = document.documentElement;
      return (document.fullscreenEnabled || document.webkitFullscreenEnabled) &&
             (root.requestFullscreen || root.webkitRequestFullscreen);
    },
    element: function() { return document.fullscreenElement || document.webkitFullscreenElement; },
    // The whole page goes full screen: the picture, the key bar and the console panel.
    toggle: function() {
      var request = LAYOUT.request();
      if (!request) return;
      var asked = LAYOUT.element() ? (document.exitFullscreen || document.webkitExitFullscreen).call(document)
                                   : request.call(document.documentElement);
      if (asked && asked.catch) asked.catch(function() {});  // refused: the page stays as it is
    },
    start: function() {
      var button = document.getElementById('full');
      button.hidden = !LAYOUT.request();
      button.addEventListener('click', LAYOUT.toggle);
      // Recommencer: the page again as it was when the program ended (web_stop).
      document.querySelector('#status button').addEventListener('click', function(e) { location.href = e.currentTarget.dataset.address; });
    },
  },

  // Once per frame, before the program's events and drawing.
  web_frame__deps: ['$LESSON'],
  web_frame: function() {
    if (!window.foucaultFrames) LAYOUT.start(), LESSON.start();
    if (document.documentElement.dataset.state == 'loading') LAYOUT.state('running');
    window.foucaultFrames = (window.foucaultFrames || 0) + 1;
  },
  web_full_screen: function() { if (!LAYOUT.element()) LAYOUT.toggle(); },
  // The page went full screen or left it (web/input.cpp): the button says what it will do.
  web_full_screen_changed: function(on) {
    var button = document.getElementById('full');  // its texts are web/shell.html's
    button.textContent = on ? button.dataset.on : button.dataset.off;
  },
  web_fail_webgl: function() { Module['showError']('webgl'); },  // web/start.js
  web_context_lost: function(lost) {
    LAYOUT.state(lost ? 'lost' : 'running', lost ? document.getElementById('status').dataset.lost : '');
  },
  // The program has ended (Q): the picture stands, dimmed, with a way to start again.
  web_stop__deps: ['$MENU', '$LESSON'],
  web_stop: function() {
    MENU.close();
    LAYOUT.state('stopped', document.getElementById('status').dataset.stopped);
    var again = document.querySelector('#status button');
    again.dataset.address = LESSON.address();
    again.hidden = false;
    again.focus();
  },
};

autoAddDeps(LibraryLayout, '$LAYOUT');
mergeInto(LibraryManager.library, LibraryLayout);
