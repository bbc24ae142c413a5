// The current user and the visits that run its clock.
#include "data/user_context.h"
#include "map/portrait.h"

void CPortrait::SetCurrentUser(CUserContext* user) {
  if (m_currentUser != nullptr) m_currentUser->CommitVisit();
  if (user == nullptr) {
    // The closing call before saving: the user stays current. The committed time starts a
    // fresh visit, so a later commit does not count it a second time.
    if (m_currentUser != nullptr) m_currentUser->BeginVisit();
    return;
  }
  m_currentUser = user;
  MarkGuideStale();
  m_currentUser->BeginVisit();
}
